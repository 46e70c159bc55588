#include <algorithm>
#include <string>

#include "input_support.h"
#include "platform/files.h"
#include "platform/codes.h"
#include "tests/temp_dir.h"

namespace {

using inputtest::Logged;

class CalibrationFileTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    kxsystem::ClearLogHistory();
    usb.kind = kxcode::kDeviceUsb;
    usb.subkind = kxcode::kDeviceCable;
    kxinput::SetDefaultCalibration(&usb);
    joystick.kind = kxcode::kDeviceJoystick;
    kxinput::SetDefaultCalibration(&joystick);
  }
  kxinputdevice usb;
  kxinputdevice joystick;
};

TEST_F(CalibrationFileTest, UsbFileHoldsHeaderAndTwelveChannelLines) {
  usb.zero[1] = 9100;
  usb.invert[1] = 1;
  ASSERT_EQ(kxinput::SaveCalibration("radio0.kxc", &usb), 1);
  std::string text = Read("radio0.kxc");
  EXPECT_EQ(text.substr(0, 57), "kxcalibration 12\n0 9000 6000 12000 0\n1 9100 6000 12000 1\n");
  EXPECT_EQ(text.rfind("11 9000 6000 12000 0\n"), text.size() - 21);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 13);
  EXPECT_TRUE(Logged("kxinput:  saving inputdevice calibration radio0.kxc=ok\n"));
}

TEST_F(CalibrationFileTest, JoystickFileHoldsSixteenChannelLines) {
  ASSERT_EQ(kxinput::SaveCalibration("joystick0.kxc", &joystick), 1);
  std::string text = Read("joystick0.kxc");
  EXPECT_EQ(text.substr(0, 17), "kxcalibration 16\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 17);
  EXPECT_NE(text.find("\n15 0 -1000 1000 0\n"), std::string::npos);
}

TEST_F(CalibrationFileTest, SavedFileReadsBackIdentically) {
  for (int c = 0; c < 12; ++c) {
    usb.zero[c] = 8000 + 10 * c;
    usb.minimum[c] = 5000 + c;
    usb.maximum[c] = 13000 - c;
    usb.invert[c] = c % 2;
  }
  ASSERT_EQ(kxinput::SaveCalibration("usbpp0.kxc", &usb), 1);
  kxinputdevice back;
  back.kind = kxcode::kDeviceUsb;
  ASSERT_EQ(kxinput::LoadCalibration("usbpp0.kxc", &back), 1);
  for (int c = 0; c < 12; ++c) {
    EXPECT_EQ(back.zero[c], usb.zero[c]);
    EXPECT_EQ(back.minimum[c], usb.minimum[c]);
    EXPECT_EQ(back.maximum[c], usb.maximum[c]);
    EXPECT_EQ(back.invert[c], usb.invert[c]);
  }
  EXPECT_EQ(back.zero[12], 0);  // absent channels keep their values
  EXPECT_TRUE(Logged("kxinput:  loading input device calibration usbpp0.kxc=ok\n"));
}

TEST_F(CalibrationFileTest, MissingFileFailsAndChangesNothing) {
  EXPECT_EQ(kxinput::LoadCalibration("config/radio0.kxc", &usb), 0);
  EXPECT_TRUE(Logged("kxinput:  loading input device calibration config/radio0.kxc=fail\n"));
  EXPECT_EQ(usb.zero[0], 9000);
}

TEST_F(CalibrationFileTest, FileWithoutHeaderFailsAndChangesNothing) {
  Write("bad.kxc", "0 1 0 2 0\n");
  EXPECT_EQ(kxinput::LoadCalibration("bad.kxc", &usb), 0);
  EXPECT_TRUE(Logged("calibration bad.kxc=fail\n"));
  EXPECT_EQ(usb.zero[0], 9000);
}

TEST_F(CalibrationFileTest, BadLinesAreSkippedAndTheRestLoads) {
  Write("mixed.kxc",
        "// written by hand\r\n"
        "kxcalibration 12\r\n"
        "0 9100 6000 12000 7\r\n"
        "1 9100 9500 12000 0\r\n"   // minimum above zero would flip the sign
        "2 9100 6000 9000 0\r\n"    // zero above maximum
        "40 1 0 2 0\r\n"            // no such channel
        "3 abc 6000 12000 0\r\n"
        "4 9100 6000 12000\r\n"
        "5 9100 6000 12000 0 9\r\n"
        "6 99999999999 0 1 0\r\n"
        "7 9200 6100 11900 0\r\n");
  ASSERT_EQ(kxinput::LoadCalibration("mixed.kxc", &usb), 1);
  EXPECT_EQ(usb.zero[0], 9100);
  EXPECT_EQ(usb.invert[0], 1);
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(usb.zero[c], 9000) << c;
  EXPECT_EQ(usb.zero[7], 9200);
  EXPECT_EQ(usb.maximum[7], 11900);
  EXPECT_TRUE(Logged("kxinput:  mixed.kxc: 7 lines skipped\n"));
}

TEST_F(CalibrationFileTest, HeaderOnlyFileIsShorterThanAJoystickFileMustBe) {
  Write("joystick1.kxc", "kxcalibration 0\n");
  EXPECT_LE(kxsystem::GetFileSize("joystick1.kxc"), 27);
}

// The reader from memory takes a file's bytes as the file reader takes its
// lines: a mark skipped, every kind of line end, a zero byte ending its
// line, an over-long line cut, a UTF-16 file not read.
TEST_F(CalibrationFileTest, FromMemoryAndFromTheFileEveryTextReadsTheSame) {
  const std::string longLine(kxsystem::kMaxLineChars, ' ');
  const struct {
    const char* what;
    std::string bytes;
    int result, zero3;
  } rows[] = {
      {"mark and CRLF", "\xEF\xBB\xBFkxcalibration 1\r\n3 5 1 9 0\r\n", 1, 5},
      {"CR only", "kxcalibration 1\r3 5 1 9 0\r", 1, 5},
      {"zero byte ends its line", "kxcalibration 1\n3 5 1 9 0" + std::string(1, '\0') + " garbage\n", 1, 5},
      {"over-long line cut", "kxcalibration 1\n" + longLine + "3 6 1 9 0\n3 5 1 9 0\n", 1, 5},
      {"UTF-16", std::string("\xFF\xFEk\0x\0\n\0", 8), 0, 9000},
      {"empty", "", 0, 9000},
  };
  for (const auto& r : rows) {
    Write("c.kxc", r.bytes);
    kxinputdevice file = usb, text = usb;
    EXPECT_EQ(kxinput::LoadCalibration("c.kxc", &file), r.result) << r.what;
    EXPECT_EQ(kxinput::ReadCalibrationText(r.bytes.data(), static_cast<long>(r.bytes.size()), &text), r.result)
        << r.what;
    EXPECT_EQ(file.zero[3], r.zero3) << r.what;
    EXPECT_TRUE(std::equal(file.zero, file.zero + kxinputdevice::kChannels, text.zero)) << r.what;
  }
}

TEST(CalibrationText, ReadsFromMemoryLikeTheFile) {
  kxinputdevice d;
  const char text[] = "kxcalibration 1\n3 5 1 9 0\n";
  EXPECT_EQ(kxinput::ReadCalibrationText(text, sizeof text - 1, &d), 1);
  EXPECT_EQ(d.zero[3], 5);
  EXPECT_EQ(kxinput::ReadCalibrationText("3 5 1 9 0", 9, &d), 0);
}

}  // namespace
