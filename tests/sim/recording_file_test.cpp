#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "dynamics/all/register_all.h"
#include "platform/file_lists.h"
#include "platform/files.h"
#include "sim/notice.h"
#include "sim/recording.h"
#include "tests/sim/recording_support.h"
#include "tests/sim/views/program_scene.h"

namespace {

namespace fs = std::filesystem;

class RecordingFile : public simtest::recordingtest {
 protected:
  void SetUp() override {
    recordingtest::SetUp();
    fs::create_directory("recordings");
  }
  void TearDown() override {
    viewstest::EndFlight();
    recordingtest::TearDown();
  }
  // The sample aircraft, for loads that must find the recorded aircraft.
  static void LinkAircraft() {
    fs::create_directory("aircraft");
    const fs::path samples = (fs::path(KX_TEST_DATA) / "../../../data/aircraft").lexically_normal();
    for (const fs::directory_entry& entry : fs::directory_iterator(samples))
      if (!fs::exists("aircraft" / entry.path().filename()))
        fs::create_symlink(entry.path(), "aircraft" / entry.path().filename());
    kxdynamics::RegisterAll();
  }
  // An aircraft of one fuselage drawn as the given number of small boxes,
  // side by side: quick to load, a frame of its recording holds one record
  // a box.
  void PutAircraft(const std::string& name, int parts) {
    const std::string folder = "aircraft/" + name + "/";
    fs::create_directories(folder);
    std::string components = "// Skyvane aircraft\n//\n//\n//\n// version: 1.8.0\n//\n// type:    4\n"
                             "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 2\n";
    if (parts > 0) components += "Geometry( \"~Geometry/P0/\" )\n";
    Write(folder + name + ".kxd", components + "cd ../\n");
    std::string script;
    kxgeometricobject root;
    for (int i = 0; i < parts; ++i) {
      const std::string part = "P" + std::to_string(i);
      script += "Append kxgeometricobject " + part + "\n";
      meshgen::mesh box = meshgen::Box(0.2f, 0.2f, 0.2f);
      meshgen::Translate(box, 0.3f * static_cast<float>(i), 0.0f, 0.0f);
      kxgeometricobject* o = new kxgeometricobject;
      o->name = part.c_str();
      o->SetMesh(meshgen::ToElement(box, "paint", part.c_str(), GL_N3F_V3F));
      root.AppendChild(o);
    }
    Write(folder + name + ".kxg", script);
    if (parts > 0) {
      ASSERT_EQ(kxgeometricobject::WriteMesh(&root, (folder + name + ".tgo").c_str(), 1), 1);
    }
    kxdynamics::RegisterAll();
  }
  // The records a frame of the sample christeneagle holds: one per drawn part.
  long EagleParts() { return sim::RecordedParts(sim::LoadPlaybackCopy(&p, "christeneagle")); }
  // Two frames of two parts each, 2.5 s long.
  void TwoFrames() {
    static const float records[36] = {1, 0, 0, 0, 1, 0, -90, 0, 0.3f,     1, 0, 0, 0, 1, 0, -89.5f, 0.125f, 0.3f,
                                      0, 1, 0, -1, 0, 0, -88, 1, 2.25f,   0, 1, 0, -1, 0, 0, -87.5f, 1, 2.25f};
    std::memcpy(p.record_store.positions, records, sizeof records);
    p.record_store.frames[0] = {0.0f, 2, p.record_store.positions};
    p.record_store.frames[1] = {2.5f, 2, p.record_store.positions + 18};
    p.record_store.frames[2].records = nullptr;
    p.recording.header.length = 2.5f;
    std::strcpy(p.recording.header.aircraft, "christeneagle");
    std::strcpy(p.recording.header.scenery, "winzeln");
    state.radius = 1.25f;
    const float lo[3] = {-1, -2, -0.5f}, hi[3] = {1, 2, 0.75f};
    std::copy(lo, lo + 3, state.bounds_min);
    std::copy(hi, hi + 3, state.bounds_max);
  }
};

constexpr const char* kTwoFrames =
    "aircraft christeneagle\n"
    "scenery winzeln\n"
    "length 2.50\n"
    "radius 1.25\n"
    "bbmin -1.00 -2.00 -0.50\n"
    "bbmax 1.00 2.00 0.75\n"
    "\n"
    "records 2 0.000000\n"
    "  pos 1.0000 0.0000 0.0000  0.0000 1.0000 0.0000  -90.0000 0.0000 0.3000\n"
    "  pos 1.0000 0.0000 0.0000  0.0000 1.0000 0.0000  -89.5000 0.1250 0.3000\n"
    "  \n"
    "records 2 2.500000\n"
    "  pos 0.0000 1.0000 0.0000  -1.0000 0.0000 0.0000  -88.0000 1.0000 2.2500\n"
    "  pos 0.0000 1.0000 0.0000  -1.0000 0.0000 0.0000  -87.5000 1.0000 2.2500\n"
    "  \n"
    "end";

// kTwoFrames of the aircraft with a record for each of the given parts in
// every frame: the first record of a frame stands for the first part, its
// second for every part after.
std::string ForParts(long parts, const std::string& aircraft = "christeneagle") {
  std::string out;
  size_t at = 0;
  int posInFrame = 0;
  while (at < std::strlen(kTwoFrames)) {
    const char* text = kTwoFrames + at;
    const char* end = std::strchr(text, '\n');
    std::string line = end ? std::string(text, end + 1) : std::string(text);
    at += line.size();
    if (line.starts_with("aircraft ")) line = "aircraft " + aircraft + "\n";
    if (line.starts_with("records 2 ")) {
      line.replace(8, 1, std::to_string(parts));
      posInFrame = 0;
    }
    if (!line.starts_with("  pos")) out += line;
    else if (++posInFrame == 1) out += line;
    else
      for (long i = 1; i < parts; ++i) out += line;
  }
  return out;
}

TEST_F(RecordingFile, SavingWritesTheHeaderThenEachFrameThenEnd) {
  TwoFrames();
  ASSERT_EQ(sim::SaveRecording("circuit", &p), 1);
  EXPECT_EQ(Read("recordings/circuit.rec"), kTwoFrames);
  EXPECT_TRUE(inputtest::Logged("sim:  saving recording to file recordings/circuit.rec=2 frames"));
}

TEST_F(RecordingFile, AFileLoadsPlayableWithTheRecordedAircraftBesideTheLiveOne) {
  LinkAircraft();
  const long parts = EagleParts();
  const std::string file = ForParts(parts);
  Write("recordings/circuit.rec", file);
  p.recording.state = sim::kRecordIdle;
  ASSERT_EQ(sim::LoadRecording("circuit", &p), 1);
  EXPECT_EQ(p.recording.present, 1);
  EXPECT_EQ(p.recording.frame, 1);
  EXPECT_EQ(p.recording.time, 0.0f);
  EXPECT_EQ(p.recording.state, sim::kRecordIdle);  // playing is the menu's to start
  EXPECT_EQ(p.record_store.frames[1].count, parts);
  EXPECT_FLOAT_EQ(p.record_store.frames[1].records[7], 1.0f);
  EXPECT_EQ(p.record_store.frames[2].records, nullptr);
  EXPECT_FLOAT_EQ(p.recording.header.bbmax[2], 0.75f);
  ASSERT_NE(p.recording.instance, nullptr);
  EXPECT_EQ(kxnode::As<kxgeometricobject>(kxdaircraftinstance::Slot(2)->Graphics), p.recording.instance);
  const std::string loaded = "record:  loading recording recordings/circuit.rec=2.50 seconds with 2 frames, " +
                             std::to_string(2 * parts) + " positions";
  EXPECT_TRUE(inputtest::Logged(loaded.c_str()));
  EXPECT_TRUE(inputtest::Logged("record:  loading recorded aircraft geometry christeneagle=ok"));
  // Saved again by a player flying the same aircraft, it is the same file.
  state.radius = 1.25f;
  state.bounds_min[0] = -1, state.bounds_min[1] = -2, state.bounds_min[2] = -0.5f;
  state.bounds_max[0] = 1, state.bounds_max[1] = 2, state.bounds_max[2] = 0.75f;
  ASSERT_EQ(sim::SaveRecording("again", &p), 1);
  EXPECT_EQ(Read("recordings/again.rec"), file);
}

// A file saved before the rotor and propeller blades were drawn parts holds
// fewer records a frame than the aircraft has parts: rather than move the
// wrong parts it is refused, with a log line and a notice. So is one with a
// single frame out of step.
TEST_F(RecordingFile, AFileWhoseRecordsDoNotPairWithTheAircraftsPartsIsRefused) {
  LinkAircraft();
  const long parts = EagleParts();
  ASSERT_GT(parts, 2);
  std::string oneShort = ForParts(parts);
  oneShort.replace(oneShort.rfind("records " + std::to_string(parts)), 8 + std::to_string(parts).size(),
                   "records " + std::to_string(parts - 1));
  oneShort.erase(oneShort.rfind("  pos"), oneShort.find('\n', oneShort.rfind("  pos")) + 1 - oneShort.rfind("  pos"));
  for (const std::string& text : {std::string(kTwoFrames), oneShort}) {
    Write("recordings/older.rec", text);
    EXPECT_EQ(sim::LoadRecording("older", &p), 0);
    EXPECT_EQ(p.recording.present, 0);
    const std::string refused = "christeneagle draws " + std::to_string(parts) + " parts: made by an older version";
    EXPECT_TRUE(inputtest::Logged(refused.c_str()));
    EXPECT_EQ(sim::TakeNotice(), "The recorded flight older was made by an older version of the program: its records "
                                 "do not pair with the parts of christeneagle, so it is not played.");
  }
}

// Only a file that plays replaces the recording held: one that fails to
// (read to no frame, too short, its aircraft missing, its records pairing
// with the parts of neither its aircraft nor the one held) leaves it as it
// was - playing where it played, drawn with its aircraft, saved as before -
// so a flight just recorded is not lost to it.
TEST_F(RecordingFile, ALoadThatFailsLeavesTheRecordingHeldAsItWas) {
  PutAircraft("two", 2);
  PutAircraft("three", 3);
  std::string shortText = ForParts(2, "two");
  shortText.replace(shortText.find("length 2.50"), 11, "length 2.00");
  shortText.replace(shortText.find("records 2 2.5"), 13, "records 2 2.0");
  const std::string twoFrames = ForParts(2, "two");
  const struct {
    const char* name;
    std::string text;
    const char* logged;
  } cases[] = {
      {"utf16", std::string("\xFF\xFE" "a\0i\0r\0", 8), "0 frames over 0.00 s, too few to play"},
      {"short", shortText, "2 frames over 2.00 s, too few to play"},
      {"still", twoFrames.substr(0, twoFrames.find("records 2 2.5")), "1 frames over 0.00 s, too few to play"},
      {"gone", ForParts(2, "nosuch"), "loading recorded aircraft geometry nosuch=fail"},
      {"other", ForParts(2, "three"), "three draws 3 parts: made by an older version"},
      {"older", ForParts(1, "two"), "two draws 2 parts: made by an older version"},
  };
  Write("recordings/held.rec", twoFrames);
  p.flight_state = nullptr;  // saved with the size the recording holds
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(sim::LoadRecording("held", &p), 1);
    p.recording.state = sim::kRecordPlaying;
    sim::UpdateRecordingClock(&p, 1.25f);
    sim::UpdatePlaybackPose(&p, 0.0f);
    ASSERT_EQ(p.recording.blend, 0.5f);
    const ::simtest::poses shown = ::simtest::Poses(p.recording.instance);
    ASSERT_EQ(shown.size(), 2u);
    ASSERT_EQ(sim::SaveRecording("saved", &p), 1);
    const std::string saved = Read("recordings/saved.rec");
    Write(std::string("recordings/") + c.name + ".rec", c.text);
    sim::TakeNotice();
    EXPECT_EQ(sim::LoadRecording(c.name, &p), 0);
    EXPECT_TRUE(inputtest::Logged(c.logged));
    EXPECT_EQ(p.recording.present, 1);
    EXPECT_EQ(p.recording.state, sim::kRecordPlaying);
    EXPECT_EQ(p.recording.time, 1.25f);
    EXPECT_EQ(p.recording.frame, 1);
    EXPECT_NE(p.recording.instance, nullptr);
    EXPECT_EQ(kxnode::As<kxgeometricobject>(kxdaircraftinstance::Slot(2)->Graphics), p.recording.instance);
    sim::UpdatePlaybackPose(&p, 0.0f);
    EXPECT_EQ(::simtest::Largest(::simtest::Poses(p.recording.instance), shown), 0.0f);
    ASSERT_EQ(sim::SaveRecording("saved", &p), 1);
    EXPECT_EQ(Read("recordings/saved.rec"), saved);
  }
}

// Known from the file alone: the aircraft is not loaded for it.
TEST_F(RecordingFile, ARecordingOfTwoSecondsOrLessOrOfOneFrameIsNotLoaded) {
  std::string text = kTwoFrames;
  text.replace(text.find("length 2.50"), 11, "length 2.00");
  Write("recordings/short.rec", text);
  Write("recordings/still.rec", std::string(kTwoFrames).substr(0, std::string(kTwoFrames).find("records 2 2.5")));
  p.record_store.frames[0].records = nullptr;  // nothing held
  EXPECT_EQ(sim::LoadRecording("short", &p), 0);
  EXPECT_EQ(sim::LoadRecording("still", &p), 0);
  EXPECT_EQ(p.recording.present, 0);
  EXPECT_EQ(p.record_store.frames[0].records, nullptr);
  EXPECT_STREQ(p.recording.header.aircraft, "");
  EXPECT_FALSE(inputtest::Logged("loading recorded aircraft geometry"));
  // Either is said, in the log and on the screen.
  EXPECT_TRUE(inputtest::Logged("record:  recordings/short.rec: 2 frames over 2.00 s, too few to play\n"));
  EXPECT_TRUE(inputtest::Logged("record:  recordings/still.rec: 1 frames over 0.00 s, too few to play\n"));
  for (const char* name : {"short", "still"})
    EXPECT_EQ(sim::TakeNotice(), std::string("The recorded flight ") + name +
                                     " cannot be played: it holds too little of a flight (see the log).");
}

TEST_F(RecordingFile, TheReaderTakesIndentedKeywordsSkipsOtherLinesAndCountsThePosLinesItRead) {
  PutAircraft("one", 1);
  Write("recordings/odd.rec",
        "  aircraft   one extra words\n"
        "// a comment line\n"
        "\tscenery a\n"
        "length 9.5\n"
        "records 7 0.5\n"
        "   pos 1 2 3 4 5 6 7 8 9\n"
        "pos 1 2 3\n"                      // too short: skipped
        "pos nan 0 0 0 0 0 0 0 0\n"        // not a number: skipped
        "records 1 9.5\n"
        "pos 9 8 7 6 5 4 3 2 1\n");        // no "end": read to the last line
  ASSERT_EQ(sim::LoadRecording("odd", &p), 1);
  EXPECT_STREQ(p.recording.header.aircraft, "one");
  EXPECT_STREQ(p.recording.header.scenery, "a");
  EXPECT_EQ(p.record_store.frames[0].count, 1);
  EXPECT_EQ(p.record_store.frames[1].count, 1);
  EXPECT_EQ(p.record_store.frames[1].records, p.record_store.positions + 9);
  EXPECT_EQ(p.record_store.frames[1].records[0], 9.0f);
  EXPECT_EQ(p.record_store.frames[2].records, nullptr);
  EXPECT_TRUE(inputtest::Logged("record:  loading recording recordings/odd.rec=9.50 seconds with 2 frames, 2 positions"));
}

TEST_F(RecordingFile, AnAircraftThatDoesNotLoadLeavesNoRecording) {
  Write("recordings/gone.rec", "aircraft nosuch\nlength 30\nrecords 0 0\nrecords 0 30\nend");
  p.record_store.frames[0].records = nullptr;  // nothing held
  EXPECT_EQ(sim::LoadRecording("gone", &p), 0);
  EXPECT_EQ(p.recording.present, 0);
  EXPECT_STREQ(p.recording.header.aircraft, "");
  EXPECT_EQ(p.record_store.frames[0].records, nullptr);
  EXPECT_EQ(p.recording.instance, nullptr);
  EXPECT_TRUE(inputtest::Logged("record:  loading recorded aircraft geometry nosuch=fail"));
  // Asked for on its own, the aircraft's load failing leaves the recording
  // it was asked for idle and empty.
  std::strcpy(p.recording.header.aircraft, "nosuch");
  p.recording.header.length = 30;
  p.recording.present = 1;
  p.recording.state = sim::kRecordPlaying;
  EXPECT_EQ(sim::LoadRecordedAircraft(&p), 0);
  EXPECT_EQ(p.recording.present, 0);
  EXPECT_EQ(p.recording.state, sim::kRecordIdle);
  EXPECT_EQ(p.recording.header.length, 0.0f);
  EXPECT_EQ(sim::TakeNotice(),
            "The recorded flight gone cannot be played: the aircraft it names could not be loaded (see the log).");
}

TEST_F(RecordingFile, AMissingFileLeavesTheRecordingAsItWas) {
  TwoFrames();
  p.recording.present = 1;
  EXPECT_EQ(sim::LoadRecording("missing", &p), 0);
  EXPECT_EQ(p.recording.present, 1);
  EXPECT_STREQ(p.recording.header.aircraft, "christeneagle");
  EXPECT_EQ(p.record_store.frames[1].count, 2);
  EXPECT_TRUE(inputtest::Logged("record:  loading recording recordings/missing.rec=fail (not found)\n"));
  EXPECT_EQ(sim::TakeNotice(), "The recorded flight missing cannot be played: its file could not be read (see the log).");
  EXPECT_EQ(sim::CheckRecordingScenery("missing"), nullptr);
  EXPECT_TRUE(inputtest::Logged("record:  checking scenery of recording recordings/missing.rec=fail (not found)\n"));
  EXPECT_EQ(sim::TakeNotice(), "The recorded flight missing cannot be played: its file could not be read (see the log).");
  // The reader's own lines come before the result line, never inside it.
  Write("recordings/empty.rec", "");
  EXPECT_STREQ(sim::CheckRecordingScenery("empty"), "");
  EXPECT_TRUE(inputtest::Logged("kxsystem:  recordings/empty.rec: empty file\n"
                                "record:  checking scenery of recording recordings/empty.rec=\n"));
}

TEST_F(RecordingFile, NamesThatWouldLeaveTheFolderAreRefused) {
  TwoFrames();
  Write("secret.rec", kTwoFrames);
  for (const char* name : {"../secret", "a/b", "a\\b", ".hidden", ""}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(sim::SaveRecording(name, &p), 0);
    EXPECT_EQ(sim::LoadRecording(name, &p), 0);
    EXPECT_EQ(sim::CheckRecordingScenery(name), nullptr);
  }
  EXPECT_EQ(Read("secret.rec"), kTwoFrames);
  EXPECT_TRUE(inputtest::Logged("sim:  recording name \"../secret\" refused"));
  EXPECT_TRUE(inputtest::Logged("record:  recording name \"a/b\" refused"));
}

// The header's length is checked against the frames: a length the frames
// do not reach would hold the recorded aircraft still until it ran out.
TEST_F(RecordingFile, AHeaderLengthTheFramesDoNotMatchIsTakenFromTheFrames) {
  LinkAircraft();
  for (const char* length : {"length 1000000000.00", "length -7.00"}) {
    SCOPED_TRACE(length);
    std::string text = ForParts(EagleParts());
    text.replace(text.find("length 2.50"), 11, length);
    Write("recordings/wrong.rec", text);
    ASSERT_EQ(sim::LoadRecording("wrong", &p), 1);
    EXPECT_FLOAT_EQ(p.recording.header.length, 2.5f);
    EXPECT_TRUE(inputtest::Logged("does not match its frames; 2.50 s taken"));
  }
}

// Every name the load window lists loads, however long.
TEST_F(RecordingFile, ALongNameLoadsAsTheListShowsIt) {
  LinkAircraft();
  const std::string name(240, 'n');
  Write("recordings/" + name + ".rec", ForParts(EagleParts()));
  const std::vector<std::string> listed = kxsystem::ListFiles("recordings/*.rec", 0, 0);
  ASSERT_EQ(listed, std::vector<std::string>{name});
  EXPECT_STREQ(sim::CheckRecordingScenery(name.c_str()), "winzeln");
  EXPECT_EQ(sim::LoadRecording(name.c_str(), &p), 1);
}

TEST_F(RecordingFile, TheSceneryCheckReportsTheLastSceneryLineOrNone) {
  Write("recordings/two.rec", "scenery first\nend\n  scenery second\n");
  Write("recordings/none.rec", "aircraft x\nend");
  EXPECT_STREQ(sim::CheckRecordingScenery("two"), "second");
  EXPECT_TRUE(inputtest::Logged("record:  checking scenery of recording recordings/two.rec=second"));
  EXPECT_STREQ(sim::CheckRecordingScenery("none"), "");
}

TEST_F(RecordingFile, TheReaderStopsAtTheFrameCapacityAndCutsLongNames) {
  PutAircraft(std::string(127, 'a'), 0);
  std::string text = "aircraft " + std::string(200, 'a') + "\nscenery " + std::string(130, 's') + "\nlength 720\n";
  for (int i = 1; i < simplayer::kRecordFrames; ++i) text += "records 0 0\n";
  text += "records 0 720\nrecords 0 721\n";  // the last frame the index holds, and one more
  Write("recordings/long.rec", text);
  ASSERT_EQ(sim::LoadRecording("long", &p), 1);
  EXPECT_EQ(std::strlen(p.recording.header.aircraft), 127u);
  EXPECT_EQ(std::strlen(p.recording.header.scenery), 127u);
  EXPECT_EQ(Frames(), simplayer::kRecordFrames);
  EXPECT_EQ(p.record_store.frames[simplayer::kRecordFrames - 1].time, 720.0f);
  EXPECT_EQ(p.record_store.frames[simplayer::kRecordFrames].records, nullptr);
  // The writer takes no more than the frame index holds either.
  ASSERT_EQ(sim::SaveRecording("again", &p), 1);
  EXPECT_TRUE(inputtest::Logged("=21600 frames"));
}

// Lines and numbers read as in every file of the program: an out-of-range
// count or a number that is not finite or not decimal makes no frame and no
// position; whatever follows the last number is passed over.
TEST_F(RecordingFile, NumbersOutOfRangeOrNotDecimalAreRefused) {
  PutAircraft("two", 2);
  Write("recordings/hostile.rec",
        "\xEF\xBB\xBFrecords 2 0.5\r"  // a mark, and every kind of line end
        "pos 1 2 3 4 5 6 7 8 9\r\n"
        "records 99999999999999999999 1.0\n"  // no frame: the pos after it joins the first
        "pos 1 2 3 4 5 6 7 8 1e999\n"
        "pos 0x10 0 0 0 0 0 0 0 0\n"
        "pos 1,5 0 0 0 0 0 0 0 0\n"
        "records 1 inf\n"
        "pos 9 8 7 6 5 4 3 2 1\n"
        "records -3 2.5\n"
        "pos 0 0 0 0 0 0 0 0 0\n"
        "pos +1 .5 -0 1e1 2E-1 6 7 8 9x\n"
        "aircraft two\n");
  ASSERT_EQ(sim::LoadRecording("hostile", &p), 1);
  EXPECT_EQ(Frames(), 2);
  EXPECT_EQ(p.record_store.frames[0].count, 2);
  EXPECT_EQ(p.record_store.frames[0].records[9], 9.0f);
  EXPECT_EQ(p.record_store.frames[1].time, 2.5f);
  ASSERT_EQ(p.record_store.frames[1].count, 2);
  const float* last = p.record_store.frames[1].records + 9;
  EXPECT_EQ(std::vector<float>(last, last + 5), (std::vector<float>{1.0f, 0.5f, 0.0f, 10.0f, 0.2f}));
}

}  // namespace

namespace {

// ---- a recorded flight, end to end

using simtest::Largest;
using simtest::Poses;
using simtest::poses;

class RecordedFlight : public RecordingFile {
 protected:
  struct playback {
    std::map<int, poses> atFrames;  // the copy when the clock stood on a recorded frame
    std::vector<poses> copy, live;  // the copy and the live aircraft every fourth frame
  };
  // Plays the recording from its start for the frames while the live
  // aircraft flies on.
  playback Play(int frames) {
    playback seen;
    p.recording.state = sim::kRecordPlaying;
    p.recording.time = 0;
    p.recording.frame = 1;
    for (int i = 1; i <= frames; ++i) {
      kxdynamics::Step(kFrame, &ground);
      sim::UpdateRecordingClock(&p, kFrame);
      sim::UpdatePlaybackPose(&p, kFrame);
      if (p.recording.blend == 1.0f) seen.atFrames[p.recording.frame] = Poses(p.recording.instance);
      if (i % 4 == 0) {
        seen.copy.push_back(Poses(p.recording.instance));
        seen.live.push_back(Poses(kxnode::As<kxgeometricobject>(p.flight_state->graphics_root)));
      }
    }
    return seen;
  }

  static constexpr float kFrame = 0.01f;
  kxdflatground ground{0.0f};
};

// Three seconds, a frame taken every fourth step of 0.01 s.
TEST_F(RecordedFlight, ThreeSecondsPlayBackBesideTheLiveAircraftAndAgainFromTheirFile) {
  constexpr int kSteps = 300, kTaken = kSteps / 4;
  LinkAircraft();
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("christeneagle", 0), 1);
  kxdynamics::Start(&ground);
  kxmatrix start = kxmatrix::Identity();
  start.R = {0, 0, 40, 1};
  kxdaircraftinstance::PlaceAt(kxdaircraftinstance::Loaded(0), start, {12, 0, 3, 0});
  p.flight_state = kxdaircraftinstance::FlightStateOf(0);
  kxgeometricobject* live = kxnode::As<kxgeometricobject>(p.flight_state->graphics_root);
  ASSERT_NE(live, nullptr);

  StartRecording();
  std::strcpy(p.recording.header.aircraft, "christeneagle");
  std::strcpy(p.recording.header.scenery, "winzeln");
  std::vector<poses> flown;  // the live parts whenever a frame was taken
  for (int i = 0; i < kSteps; ++i) {
    kxdynamics::Step(kFrame, &ground);
    const int taken = p.recording.frame;
    sim::UpdateRecordingClock(&p, kFrame);
    if (p.recording.frame > taken) flown.push_back(Poses(live));
  }
  StopRecording();
  ASSERT_EQ(flown.size(), static_cast<size_t>(kTaken));
  ASSERT_EQ(p.recording.present, 1);
  EXPECT_NEAR(p.recording.header.length, 2.99f, 1e-3f);
  ASSERT_GT(flown[0].size(), 3u);
  EXPECT_GT(std::fabs(flown[kTaken - 1][0].R.x - flown[0][0].R.x), 25.0f);
  ASSERT_EQ(sim::LoadRecordedAircraft(&p), 1);
  ASSERT_NE(p.recording.instance, live);

  const playback fromMemory = Play(kSteps - 1);
  ASSERT_EQ(fromMemory.atFrames.size(), static_cast<size_t>(kTaken - 1));  // frames 1 to kTaken - 1
  float most = 0;
  // Within a float's step at the couple of hundred metres flown.
  for (const auto& [frame, seen] : fromMemory.atFrames) most = std::max(most, Largest(seen, flown[frame], 1.0f));
  EXPECT_LT(most, 2e-5f);
  // The live aircraft flew on beside it, elsewhere.
  EXPECT_GT(Largest(fromMemory.copy[10], fromMemory.live[10]), 10.0f);

  const float timeShift = ::simtest::FileTimeShift(p.record_store.frames, kTaken);
  ASSERT_EQ(sim::SaveRecording("flight", &p), 1);
  const std::string file = Read("recordings/flight.rec");
  EXPECT_EQ(file.rfind("aircraft christeneagle\nscenery winzeln\nlength 2.99\nradius ", 0), 0u);
  EXPECT_EQ(file.compare(file.size() - 6, 6, "  \nend"), 0);
  const long floats = p.record_store.frames[kTaken - 1].records + p.record_store.frames[kTaken - 1].count * 9 -
                      p.record_store.positions;
  const std::vector<float> recorded(p.record_store.positions, p.record_store.positions + floats);
  p.record_store.frames[0].records = nullptr;
  p.recording.present = 0;
  ASSERT_STREQ(sim::CheckRecordingScenery("flight"), "winzeln");
  ASSERT_EQ(sim::LoadRecording("flight", &p), 1);
  ASSERT_EQ(sim::SaveRecording("copy", &p), 1);
  EXPECT_EQ(Read("recordings/copy.rec"), file);
  // The file keeps four decimals: each number read back lies within 5e-5
  // of the one recorded, give or take the float's own spacing.
  float worst = 0;
  for (long i = 0; i < floats; ++i) {
    const float spacing = std::fabs(recorded[i]) * 1.2e-7f;
    worst = std::max(worst, std::fabs(p.record_store.positions[i] - recorded[i]) - spacing);
  }
  EXPECT_LE(worst, 5e-5f);

  // Replayed from the file, the parts stand where they stood replayed from
  // memory, within what the file's decimals allow.
  const playback fromFile = Play(kSteps - 1);
  ASSERT_EQ(fromFile.copy.size(), fromMemory.copy.size());
  most = 0;
  float beyond = 0;
  for (size_t i = 0; i < fromFile.copy.size(); ++i) {
    most = std::max(most, Largest(fromFile.copy[i], fromMemory.copy[i]));
    beyond = std::max(beyond, Largest(fromFile.copy[i], fromMemory.copy[i], ::simtest::kComposeSpacings));
  }
  EXPECT_LE(beyond, ::simtest::kFileDecimals + timeShift);
  RecordProperty("largest_difference_replayed_from_file", std::to_string(most));
  RecordProperty("allowed_for_the_frame_times", std::to_string(timeShift));
}

}  // namespace
