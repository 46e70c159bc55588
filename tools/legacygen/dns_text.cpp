#include "tools/legacygen/dns_text.h"

#include "core/numbers.h"

namespace legacygen {

dnstext::dnstext(const std::string& description) : text_("// DNS FILE\n// " + description + "\n") {}

dnstext& dnstext::Part(const char* cls, const std::string& name) {
  text_ += std::string(cls) + " " + name + ";\n";
  part_ = name;
  return *this;
}

dnstext& dnstext::Set(const char* member, float value) {
  text_ += part_ + "." + member + " = " + kxnumber::FormatG(value) + "\n";
  return *this;
}

dnstext& dnstext::SetInt(const char* member, int value) {
  text_ += part_ + "." + member + " = " + std::to_string(value) + "\n";
  return *this;
}

dnstext& dnstext::SetVector(const char* member, vec v) {
  text_ += part_ + "." + member + " = ( " + kxnumber::FormatG(v.x) + " " + kxnumber::FormatG(v.y) + " " +
           kxnumber::FormatG(v.z) + " )\n";
  return *this;
}

dnstext& dnstext::SetText(const char* member, const std::string& text) {
  text_ += "strcpy( " + part_ + "." + member + ", \"" + text + "\" );\n";
  return *this;
}

dnstext& dnstext::SetAxes(vec x, vec y, vec z) { return SetVector("X", x).SetVector("Y", y).SetVector("Z", z); }

}  // namespace legacygen
