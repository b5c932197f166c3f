// The volume information component against real drives: the session's own
// test drive, labelled "MyLabel" before Wine started (Wine keeps a drive's
// label for the whole session), and a letter that names no drive.
#include <cstdlib>
#include <stdexcept>

#include "TestSupport.h"
#include "components/Volinfo.h"

namespace {

// A letter that names no drive in the test prefix.
constexpr char kNoDrive = 'q';
constexpr UINT kOwnMode = SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX;

class VolumeInformationTest : public TamrikTest {
protected:
    void SetUp() override
    {
        TamrikTest::SetUp();
        letter_ = TestDriveLetter();
        if (!letter_)
            GTEST_SKIP() << "no test drive is mapped";
        previousMode_ = SetErrorMode(kOwnMode);
    }
    void TearDown() override
    {
        SetErrorMode(previousMode_);
        TamrikTest::TearDown();
    }
    char Lower() const { return static_cast<char>(letter_ | 0x20); }
    char Upper() const { return static_cast<char>(letter_ & ~0x20); }

    char letter_ = 0;
    UINT previousMode_ = 0;
};

TEST_F(VolumeInformationTest, LabelComesBackInTheCaseOfTheDriveLetter)
{
    TVolumeInformation volume(nullptr);
    EXPECT_EQ(volume.Drive(), 'C');
    volume.SetDrive(Lower());
    EXPECT_EQ(volume.VolumeName(), "mylabel");
    volume.SetDrive(Upper());
    EXPECT_EQ(volume.VolumeName(), "MYLABEL");
    EXPECT_EQ(volume.VolumeName(), "MYLABEL");  // every read asks again
    EXPECT_EQ(CurrentErrorMode(), kOwnMode);
    EXPECT_TRUE(Seams().boxes.empty());
}

TEST_F(VolumeInformationTest, UnlabelledVolumeGivesAnEmptyNameWithoutAnyReport)
{
    TVolumeInformation volume(nullptr);
    volume.SetDrive('c');  // the prefix's own drive has no label
    int reports = 0;
    struct Counter {
        int* count;
        void Report(int) { ++*count; }
    } counter{&reports};
    volume.OnError.Bind(&counter, &Counter::Report);
    EXPECT_EQ(volume.VolumeName(), "");
    EXPECT_EQ(reports, 0);
    EXPECT_TRUE(Seams().boxes.empty());
}

struct ErrorRecorder {
    std::vector<int> codes;
    std::vector<UINT> modes;  // the error mode while each report ran
    bool fail = false;
    void Report(int code)
    {
        codes.push_back(code);
        modes.push_back(CurrentErrorMode());
        if (fail)
            throw std::runtime_error("handler failed");
    }
};

TEST_F(VolumeInformationTest, FailedReadGoesToTheHandlerOnceUnderCriticalErrorsFailed)
{
    TVolumeInformation volume(nullptr);
    volume.SetDrive(kNoDrive);
    ErrorRecorder recorder;
    volume.OnError.Bind(&recorder, &ErrorRecorder::Report);
    EXPECT_EQ(volume.VolumeName(), "");
    ASSERT_EQ(recorder.codes.size(), 1u);
    EXPECT_EQ(recorder.codes[0], ERROR_PATH_NOT_FOUND);  // what Wine reports for an unmapped letter
    EXPECT_EQ(recorder.modes[0], static_cast<UINT>(SEM_FAILCRITICALERRORS));
    EXPECT_EQ(CurrentErrorMode(), kOwnMode);
    EXPECT_TRUE(Seams().boxes.empty());

    // An error raised by the handler leaves the read early; the mode is
    // back all the same.
    recorder.fail = true;
    EXPECT_THROW(volume.VolumeName(), std::runtime_error);
    EXPECT_EQ(recorder.codes.size(), 2u);
    EXPECT_EQ(CurrentErrorMode(), kOwnMode);
}

TEST_F(VolumeInformationTest, FailedReadWithoutHandlerShowsItsOwnBoxOnce)
{
    StartProgram();
    TVolumeInformation volume(nullptr);
    volume.SetDrive(kNoDrive);
    EXPECT_EQ(volume.VolumeName(), "");
    ASSERT_EQ(Seams().boxes.size(), 1u);
    const ErrorBox& box = Seams().boxes[0];
    EXPECT_EQ(box.text, "Error " + std::to_string(ERROR_PATH_NOT_FOUND) + " in GetVolumeInformation");
    EXPECT_EQ(box.caption, "TVolumeInformation");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(box.owner, Application->Handle());
    EXPECT_EQ(CurrentErrorMode(), kOwnMode);
}

TEST_F(VolumeInformationTest, MainFormReadsSmallLettersAndKeepsFailuresQuiet)
{
    StartProgram();
    EXPECT_EQ(Form().volInfo->Drive(), 'c');
    Form().volInfo->SetDrive(Lower());
    EXPECT_EQ(Form().volInfo->VolumeName(), "mylabel");
    Form().volInfo->SetDrive(kNoDrive);
    EXPECT_EQ(Form().volInfo->VolumeName(), "");
    EXPECT_TRUE(Seams().boxes.empty());
}

}  // namespace
