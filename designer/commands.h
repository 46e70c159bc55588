// The designer's script commands: every user action reaches the designer
// through one of these. All but "DesignOpen" act only while an aircraft is
// being edited; a command whose part of the designer is not built yet logs
// that once and does nothing.
#pragma once

namespace svdesign {

constexpr int kCommands = 35;
// The name of command i in registration order; "" outside.
const char* CommandName(int i);
// Registers the table in order; later calls keep the first registration.
void RegisterCommands();
// Lets each command that is not built yet log once more.
void ForgetCommandNotes();

// "DesignObjectActivate( name )": the design object of the component of
// that name (exact) becomes current, unless it already is.
void ObjectActivate(const char* componentName);
// "DesignObjectPropertyOpen( index )": page index of the paged object.
void ObjectPropertyOpen(int index);
// "DesignPropertySetValues": the shown page's Store, then its Refresh.
void PropertySetValues();

}  // namespace svdesign
