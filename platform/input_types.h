// Registration of the input node types, so the UI description can build
// "/Pinboard/" and "/Panel/" and their devices by type name.
#pragma once

namespace input {

// Registers "kxpanel", "kxpinboard", "kxdevice" and the device, mapper and
// event types with their factories and bases. After kxscript::Init; a second
// call does nothing.
void RegisterTypes();

}  // namespace input
