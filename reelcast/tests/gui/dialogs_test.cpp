// The dialogs on their own: gamma, options, video size, status, compressor chooser.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <cstring>

#include "gui/compressor_dialog.h"
#include "gui/gamma_dialog.h"
#include "gui/options_dialog.h"
#include "gui/status_dialog.h"
#include "gui/video_size_dialog.h"
#include "gui_fixture.h"

// Fontconfig keeps its caches until the process ends; the leak checker is told so.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace reelcast {
namespace {

class Dialogs : public testing::Test {
protected:
    void SetUp() override { test::app(); }
};

TEST_F(Dialogs, GammaStopsAtBothEndsAndDefaultGivesHundred)
{
    int value = 100;
    GammaDialog d(value);
    d.show();
    QScrollBar* bar = d.scrollBar();
    for (int i = 0; i < 30; ++i)
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(value, 200);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(value, 200);
    EXPECT_EQ(d.findChild<QLabel*>("gammaValue")->text(), "200");
    GammaTable expected;
    expected.build(200);
    EXPECT_EQ(std::memcmp(d.table().entries, expected.entries, sizeof expected.entries), 0);
    for (int i = 0; i < 250; ++i)
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(value, 0);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(value, 0);
    d.findChild<QPushButton*>("gammaDefault")->click();
    EXPECT_EQ(value, 100);
    EXPECT_EQ(bar->value(), 100);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(value, 90);
    d.reject();
    EXPECT_EQ(value, 100); // Cancel puts back the value it was opened with

    int other = 37;
    GammaDialog kept(other);
    kept.scrollBar()->setValue(55);
    kept.accept();
    EXPECT_EQ(other, 55);
}

TEST_F(Dialogs, OptionsTakeEffectAtOnceAndCancelRestores)
{
    ConverterSettings s;
    s.frameRate = 2;
    OptionsDialog d(s);
    d.show();
    EXPECT_TRUE(d.rateGroup()->button(2)->isChecked());
    EXPECT_TRUE(d.sizeGroup()->button(1)->isChecked());
    d.displayGroup()->button(1)->click();
    EXPECT_EQ(s.convDisplay, 1);
    for (QAbstractButton* b : d.sizeGroup()->buttons()) {
        EXPECT_FALSE(b->isEnabled());
        EXPECT_FALSE(b->isChecked());
    }
    d.displayGroup()->button(0)->click();
    EXPECT_TRUE(d.sizeGroup()->button(1)->isEnabled());
    d.sizeGroup()->button(2)->click();
    d.rateGroup()->button(5)->click();
    d.askGroup()->button(1)->click();
    EXPECT_EQ(s.convSize, 2);
    EXPECT_EQ(s.frameRate, 5);
    EXPECT_EQ(s.ask, 1);
    d.reject();
    EXPECT_EQ(s.convDisplay, 0);
    EXPECT_EQ(s.convSize, 1);
    EXPECT_EQ(s.frameRate, 2);
    EXPECT_EQ(s.ask, 0);

    OptionsDialog ok(s);
    ok.rateGroup()->button(6)->click();
    ok.accept();
    EXPECT_EQ(s.frameRate, 6);
}

TEST_F(Dialogs, VideoSizeResetsEveryOpening)
{
    VideoSizeDialog d;
    const VideoSizeChoice c = d.choice();
    EXPECT_EQ(c.widthChoice, 0);
    EXPECT_EQ(c.heightChoice, 0);
    EXPECT_EQ(c.method, 1);
    EXPECT_EQ(c.width(256), 256u);
    d.widthGroup()->button(3)->click();
    d.heightGroup()->button(2)->click();
    d.methodGroup()->button(1)->click();
    const VideoSizeChoice chosen = d.choice();
    EXPECT_EQ(chosen.width(256), 640u);
    EXPECT_EQ(chosen.height(224), 240u);
    EXPECT_EQ(chosen.method, 2);
    VideoSizeDialog again;
    EXPECT_EQ(again.choice().widthChoice, 0);
}

TEST_F(Dialogs, StatusCountsFramesAndEstimatesAfterFourSeconds)
{
    int read = 0;
    StatusDialog d(
        "MOVIE.STR", 120, [&read] { return read; }, nullptr);
    EXPECT_EQ(d.findChild<QLabel*>("statusFile")->text(), "MOVIE.STR");
    read = 24;
    for (int i = 0; i < 4; ++i)
        d.tick();
    EXPECT_EQ(d.frameText(), "   24 /   120");
    EXPECT_EQ(d.elapsedText(), "00 : 00 : 04");
    EXPECT_EQ(d.estimateText(), "");
    read = 30;
    d.tick();
    EXPECT_EQ(d.frameText(), "   30 /   120");
    EXPECT_EQ(d.estimateText(), "00 : 00 : 20"); // 5 s / 30 frames x 120
    EXPECT_EQ(StatusDialog::clock(3725), "01 : 02 : 05");
}

TEST_F(Dialogs, CompressorChoiceFillsTheOptionsRecord)
{
    CompressionOptions start;
    CompressorDialog d(start);
    QComboBox* box = d.compressorBox();
    EXPECT_EQ(box->currentText(), "Full Frames (Uncompressed)");
    EXPECT_FALSE(d.qualitySlider()->isEnabled());
    const int ffv1 = box->findData(QVariant(uint(makeFourCc("FFV1"))));
    ASSERT_GE(ffv1, 0);
    box->setCurrentIndex(ffv1);
    EXPECT_TRUE(d.qualitySlider()->isEnabled());
    d.qualitySlider()->setValue(75);
    d.keyFrameSpin()->setValue(12);
    d.dataRateCheck()->setChecked(false);
    const CompressionOptions o = d.result();
    EXPECT_EQ(o.fccType, kFccVids);
    EXPECT_EQ(o.fccHandler, makeFourCc("FFV1"));
    EXPECT_EQ(o.dwQuality, 7500u);
    EXPECT_EQ(o.dwKeyFrameEvery, 12u);
    EXPECT_EQ(o.dwBytesPerSecond, 0u);
    EXPECT_EQ(o.dwFlags, kCompressKeyFrames | kCompressValid);

    CompressorDialog reopened(o);
    EXPECT_EQ(reopened.compressorBox()->currentIndex(), ffv1);
    EXPECT_FALSE(reopened.dataRateCheck()->isChecked());
    EXPECT_EQ(reopened.keyFrameSpin()->value(), 12);
}

} // namespace
} // namespace reelcast
