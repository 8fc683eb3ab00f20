#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "TransformFakes.h"
#include "transform/RadixButtons.h"

namespace kalvex {
namespace {

TEST(KasanForm, RadixButtonsSwitchBetweenDirectionAndFieldWidth) {
    TOrvikKasanForm form;
    EXPECT_EQ(form.Label5->text(), QStringLiteral("10 進"));
    EXPECT_FALSE(form.UpDown1->isEnabled());
    EXPECT_EQ(form.Edit2->objectName(), QStringLiteral("Edit2"));
    form.RadioButton1->setChecked(true);

    form.radixButtons->SpeedButton2->click();
    EXPECT_EQ(form.Label5->text(), QStringLiteral("16進"));
    EXPECT_TRUE(form.UpDown1->isEnabled());
    EXPECT_TRUE(form.Label3->isEnabled());
    EXPECT_FALSE(form.RadioButton1->isEnabled());
    EXPECT_TRUE(form.RadioButton2->isChecked());
    EXPECT_EQ(form.rule().radix, Radix::Hexadecimal);

    form.radixButtons->SpeedButton3->click();
    EXPECT_EQ(form.Label5->text(), QStringLiteral(" 8進"));
    form.radixButtons->SpeedButton1->click();
    EXPECT_EQ(form.Label5->text(), QStringLiteral("10進"));
    EXPECT_FALSE(form.UpDown1->isEnabled());
    EXPECT_TRUE(form.RadioButton1->isEnabled());
}

TEST(KasanForm, WidthIsLimitedToOneToEightAndAddendMayBeNegative) {
    TOrvikKasanForm form;
    form.UpDown1->setValue(12);
    EXPECT_EQ(form.rule().width, 8);
    form.UpDown1->setValue(0);
    EXPECT_EQ(form.rule().width, 1);
    form.Edit1->setText(QStringLiteral("-3"));
    EXPECT_EQ(form.addend(), -3);
    form.Edit1->setText(QStringLiteral("1.5"));
    EXPECT_EQ(form.addend(), 0);
    form.Edit1->setText(QStringLiteral(" 5 "));
    EXPECT_EQ(form.addend(), 5) << "blanks around the number are ignored";
}

TEST(RenbanForm, PreviewFollowsEveryFieldAndRadixButton) {
    testing::RecordingMessages messages;
    TOrvikRenbanForm form(messages);
    EXPECT_EQ(form.StaticText1->text(), QStringLiteral("[ 00 ] ～ [ 15 ]"));
    form.Edit1->setText(QStringLiteral("io-"));
    form.Edit2->setText(QStringLiteral("0a"));
    form.Edit4->setText(QStringLiteral("8"));
    EXPECT_EQ(form.StaticText1->text(), QStringLiteral("開始数が10進数ではありません"));
    form.radixButtons->SpeedButton2->click();
    EXPECT_EQ(form.Label5->text(), QStringLiteral("16進"));
    EXPECT_EQ(form.StaticText1->text(), QStringLiteral("[ IO-0A ] ～ [ IO-11 ]"));
    form.Edit3->setText(QStringLiteral("z"));
    form.Edit5->setText(QStringLiteral("2"));
    EXPECT_EQ(form.StaticText1->text(), QStringLiteral("[ IO-0AZ ] ～ [ IO-18Z ]"));
}

TEST(RenbanForm, EmptyStartDisablesTheStepAndPreviewsTheFixedText) {
    testing::RecordingMessages messages;
    TOrvikRenbanForm form(messages);
    form.Edit1->setText(QStringLiteral("sp"));
    form.Edit4->setText(QStringLiteral("3"));
    form.Edit2->clear();
    EXPECT_EQ(form.StaticText1->text(), QStringLiteral("[ SP ] x 3"));
    EXPECT_FALSE(form.Edit5->isEnabled());
    EXPECT_FALSE(form.Label6->isEnabled());
    form.Edit2->setText(QStringLiteral("1"));
    EXPECT_TRUE(form.Edit5->isEnabled());
}

TEST(RenbanForm, CountTakesDigitsOnly) {
    testing::RecordingMessages messages;
    TOrvikRenbanForm form(messages);
    form.Edit4->clear();
    QTest::keyClicks(form.Edit4, QStringLiteral("1a-2"));
    EXPECT_EQ(form.Edit4->text(), QStringLiteral("12"));
}

TEST(RenbanForm, ButtonsRefuseAnInvalidStartAndKeepTheDialogOpen) {
    testing::RecordingMessages messages;
    TOrvikRenbanForm form(messages);
    form.radixButtons->SpeedButton3->click();
    form.Edit2->setText(QStringLiteral("08"));
    form.setResult(QDialog::Rejected);
    form.Button3->click();
    form.Button1->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("開始数が8進数ではありません"));
    form.Edit2->setText(QStringLiteral("07"));
    form.Button3->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.placement(), SerialPlacement::Insert);
}

TEST(TikanForm, CaptionsAndInitialState) {
    TOrvikTikanForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("文字列置換"));
    EXPECT_EQ(form.caseMatch(), CaseMatch::IgnoreCase);
    EXPECT_TRUE(form.Edit1->text().isEmpty());
    EXPECT_TRUE(form.Edit1->font().bold());
    form.Button1->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    form.Button2->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

} // namespace
} // namespace kalvex
