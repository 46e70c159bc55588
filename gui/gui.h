// kxgui: the GUI's global state and its passes. The mouse and key dispatch
// turn platform event codes into widget handler calls; the frame and draw
// passes lay out and draw the visible screen in a 2-D projection. Modes
// choose the screens and install the hooks that take what no widget takes.
#pragma once

class kxgraphic;
class kxdisplay;
struct kxglfont;

namespace kxgui {

using MouseHookFn = void (*)(int code, int modifiers);
using KeyHookFn = void (*)(int key, int modifiers);

extern kxgraphic* Visible;    // the screen that gets the pointer and is drawn
extern kxgraphic* Invisible;  // where hidden windows and pop-ups are parked
extern kxgraphic* Hot;        // under the pointer after the last hit test
extern kxgraphic* Focus;      // gets keys and the up and move events
extern kxgraphic* Capture;    // when set, only it and its descendants become hot
extern kxgraphic* OpenList;   // an open drop-down list; windows keep their order
extern kxdisplay* Display;    // "/DPY", the palette and hover counter
extern MouseHookFn MouseHook;
extern KeyHookFn KeyHook;
extern float* PointingDevice;  // x, y as fractions of the screen (y up), then the left button
extern int LastEvent;
extern int LastKey;
extern int LastModifiers;
// Counts mouse dispatches, so a handler reached twice by one event (as focus
// and as hot widget) can act once.
extern unsigned EventSerial;

// Registers kxcolor4 and the widget types, loads the icon sheets, installs
// the dispatch as the input layer's display handlers and creates "/DPY",
// "/Display" and "/Display/Invisible". Needs kxscript::Init. Returns 0.
int RegisterTypes();
// The widget library's types (buttons, text, containers, indicators);
// called by RegisterTypes.
void RegisterWidgetTypes2();
// Back to the state RegisterTypes left: no screen, nothing hot, focused,
// captured or open, no hooks or pointing device, no last event; the display
// root with its first palette and size, the parking place empty. The roots
// themselves stay.
void Reset();

void OnMouse(int code, int modifiers);
void OnKey(int key, int modifiers);
void UpdateHover(kxdisplay* display);
// UpdateHover on "/DPY": the timer handler the input layer's display binding calls.
void OnTimer();
// The pointer in pixels of the visible screen, truncated toward zero; 0, 0
// without a pointing device or a screen.
void GetPointer(int* x, int* y);
// Lays out and draws the visible screen at the window's size after a new
// OpenGL context exists; uploads the icon sheets and the GUI font.
void Frame();
// The per-frame GUI pass over the 3-D scene; nothing without a screen.
void Draw();

// The font the GUI measures and draws with ("texture/arial10.kxf", loaded by
// the application); null until then.
void SetGuiFont(kxglfont* font);
kxglfont* GuiFont();

}  // namespace kxgui
