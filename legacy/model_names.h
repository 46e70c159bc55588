// The one older-format model kept among the aircraft folders, in
// "aircraft/piccolo/" with its binary mesh: its sounds come from the
// program's own folder and its rotor and gyro follow rules of their own.
#pragma once

namespace dnsmodel {

constexpr char kPiccoloModel[] = "piccolo";
// 1 for that model's name, told without regard to case as file names are
// on the systems the data was authored on.
int IsPiccoloModel(const char* name);

}  // namespace dnsmodel
