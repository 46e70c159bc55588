#include "sim/application.h"

#include "core/interpreter.h"
#include "dynamics/all/register_all.h"
#include "graphics/draw.h"
#include "graphics/geometric_object.h"
#include "graphics/graphics_init.h"
#include "graphics/mesh.h"
#include "graphics/mesh_load.h"
#include "graphics/texture_table.h"
#include "gui/gui.h"
#include "gui/icons.h"
#include "platform/files.h"
#include "platform/input_types.h"
#include "platform/log.h"
#include "platform/window.h"
#include "sim/app_hooks.h"
#include "sim/config_files.h"
#include "sim/font_loading.h"
#include "sim/fonts.h"
#include "sim/hud_texts.h"
#include "sim/language_switch.h"
#include "sim/menu.h"
#include "sim/menu_bar.h"
#include "sim/modes.h"
#include "sim/multilanguage.h"
#include "sim/player.h"
#include "sim/resources.h"
#include "sim/session.h"
#include "sim/units.h"

namespace sim {

const char kUiDescriptionPath[] = "svgold.kxd";

namespace {

constexpr int kShadowTextureSize = 256;  // px, recorded-aircraft, balloon and card pictures

using namespace kxgl;

kxtexture* Load(const char* path, int type, int filter, int wrapS) {
  return LoadTexture(path, {.type = type, .filter = filter, .wrapS = wrapS});
}

kxtexture* Blank(const char* name, int type) {
  return CreateTexture(name, type, kShadowTextureSize, kShadowTextureSize, kFilterLinear, kWrapClamp, kWrapClamp, 0);
}

void SetDisplayDefaults() {
  kxdisplaysettings& d = kxsystem::display;
  d.start_flag1 = 1;
  d.start_flag2 = 0;
  d.title = kProductName;
  d.window_fullscreen = 0;
  d.window_width = 800;
  d.window_height = 600;
  d.second_x = d.second_y = 0;
  d.second_width = 800;
  d.second_height = 600;
}

void LoadSmallFontAndPointer() {
  LoadFontOrBuiltin("texture/arial10.kxf", &small_font, kSmallFontLine);
  SetFont(&small_font);
  kxgui::SetGuiFont(&small_font);
  LoadMouse("texture/mouse.kxt");
}

void LoadMenuPictures() {
  menustate& m = Menu();
  LoadGeometry("objects/card.tgo", &m.card, 0, 0);
  m.card_texture = Blank("scenerycard", kTypeRGB);
  // The card's second material group shows the scenery's preview; a card
  // without one is drawn as it is.
  if (m.card && m.card->next) m.card->next->texture = m.card_texture;
  else if (m.card) kxsystem::Log("sim:  objects/card.tgo has no second material group\n");

  static const char* const kButtons[kMenuButtons] = {
      "texture/svgebuttonl1.bmp", "texture/svgebuttonl2.bmp", "texture/svgebuttonr2.bmp", "texture/svgebuttonsc.bmp",
      "texture/svgebuttonca.bmp", "texture/svgebuttonco.bmp", "texture/svgebuttonea.bmp", "texture/svgebuttonop.bmp",
      "texture/svgebuttonhe.bmp", "texture/svgebuttongo.bmp", "texture/svgebuttonex.bmp"};
  for (int i = 0; i < kMenuButtons; ++i) m.buttons[i] = Load(kButtons[i], kTypeRGBA, i < 4 ? kFilterLinear : kFilterNearest, kWrapClamp);

  LoadGeometry("objects/pylon.obj", &session.media.pylon_mesh, 0, 0);
  m.background[0] = Load("texture/svmap00.bmp", kTypeRGB, kFilterLinear, kWrapClamp);
  m.background[1] = Load("texture/svmap01.bmp", kTypeRGB, kFilterLinear, kWrapClamp);
  LoadFontOrBuiltin("texture/menufont.kxf", &menu_font, kMenuFontLine);
}

}  // namespace

void ApplyUnits() {
  sessionsettings& s = session.settings;
  if (s.units != kUnitsImperial) s.units = kUnitsMetric;
  s.units == kUnitsImperial ? units::SetImperial() : units::SetMetric();
}

int LoadLanguage() {
  multilanguage& language = Language();
  if (!kxscript::ReadFile(kLanguagePath, &language)) return 0;
  ApplyLanguageToHudTexts(language);
  return 1;
}

void InitApplication() {
  sessionmedia& m = session.media;
  // The icon sheets are entries of the table cleared here: forgotten first,
  // so a second start in one process loads them again instead of drawing
  // from entries another texture may hold by then.
  kxgui::FreeIcons();
  ClearTextureTable();
  kxscript::Init();
  kxgui::RegisterTypes();
  input::RegisterTypes();
  kxscript::Root()->AppendChild(&Language());
  RegisterApplicationTypes();
  // Without it there are no display roots and no input devices: the start
  // ends soon after, and this line names the file it needs.
  if (!kxscript::ReadFile(kUiDescriptionPath, kxscript::Root())) {
    kxsystem::Log("sim:  UI description %s=fail (%s); the program cannot run without it\n", kUiDescriptionPath,
                  kxsystem::ReadProblem(kUiDescriptionPath).c_str());
  }
  SetDisplayDefaults();

  kxgraphics::RegisterTypes();
  kxgraphics::Init();
  kxdynamics::RegisterAll();
  RegisterModeCommands();
  kxtype::RegisterDerived(&svconfigfiles::Type, &kxnode::Type);
  svconfigfiles* files = new svconfigfiles;
  if (files) kxscript::Root()->AppendChild(files);
  SetConfigFiles(files);

  LoadSmallFontAndPointer();
  m.logo_texture = LoadTexture("texture/logo.bmp", {.type = kTypeRGB});
  // The particle pictures (and the circle below) repeat along s and clamp
  // along t.
  m.smoke_texture = LoadTexture("texture/smoke.bmp", {.filter = kFilterLinear, .wrapS = kWrapRepeat, .mipmap = true});
  m.exhaust_texture = LoadTexture("texture/exhaust.bmp", {.type = kTypeAlpha, .filter = kFilterLinear,
                                                          .wrapS = kWrapRepeat, .mipmap = true});

  kxprogram::LoadResources();
  CreateMenu();
  for (int i = 0; i < kPlayers; ++i) {
    kxstring name;
    name.Format("recacft%dshadow", i);
    players[i].record_store.shadow_texture = Blank(name.Text(), kTypeRGBA);
  }
  m.circle_texture = LoadTexture("texture/circle.bmp", {.type = kTypeAlpha, .filter = kFilterLinear,
                                                        .wrapS = kWrapRepeat});
  m.balloon_shadow_texture = Blank("balloonshadow", kTypeRGBA);
  if (Hooks().designer_init) Hooks().designer_init();
  else kxsystem::Log("sim:  no designer in this program\n");
  ApplyUnits();
  LoadMenuPictures();
  EnterMenuMode();
  LoadLanguage();
}

}  // namespace sim
