// Message boxes as the prompter sees them, and the date texts.
#include <gtest/gtest.h>

#include <tuple>

#include "lib/msg.h"
#include "ui/prompter.h"
#include "support/scripted_prompter.h"

using testsupport::ScriptedPrompter;
using namespace ui;

TEST(MsgBoxes, AskCodedReadsItsDecimalCode) {
    // code, the box's buttons | icon | default button, the button pressed, the result
    const std::tuple<int, unsigned, int, bool> cases[] = {
        {20, BtnOk | IconStop, IdOk, true},
        {31, BtnOkCancel | IconInformation, IdCancel, false},
        {112, BtnYesNo | IconWarning | DefButton2, IdYes, true}};
    for (auto [code, flags, pressed, result] : cases) {
        ScriptedPrompter prompter;
        prompter.Answer(pressed);
        EXPECT_EQ(AskCoded("Caption", {"one", "two"}, code), result) << code;
        ASSERT_EQ(prompter.Boxes.size(), 1u);
        EXPECT_EQ(prompter.Boxes[0].Flags, flags) << code;
    }
}

TEST(MsgBoxes, FileErrorNamesItsNumber) {
    ScriptedPrompter prompter;
    prompter.Answer(IdOk);
    ShowFileError("C:\\X.DAT", 32);
    ASSERT_EQ(prompter.Boxes.size(), 1u);
    EXPECT_EQ(prompter.Boxes[0].Caption + "|" + prompter.Boxes[0].Text, "File error 32|C:\\X.DAT");
    EXPECT_EQ(prompter.Boxes[0].Flags, BtnOk | IconStop);
}

// The date texts' edges: a short dotted date is never read past its end, a stamp of no date gives no
// text, and the tick difference wraps as the system's count does.
TEST(MsgDates, Conversions) {
    EXPECT_EQ(IsoDate(1998, 11, 5) + " " + IsoDate(98, 1, 31), "1998-11-05 0098-01-31");
    EXPECT_EQ(DottedToIso("5.11"), "-1-5.");               // unchecked, but never past the text
    EXPECT_EQ(DateOfDosStamp(-1) + DateOfDosStamp(0), ""); // no stamp; month 0 is no date
    const std::tuple<const char*, const char*, int> cases[] = {
        {"1999-03-15", "1999-03-15", 0}, {"2000-01-01", "1999-12-31", -1}, {"a1b2", "12", 0}};
    for (auto [a, b, result] : cases) EXPECT_EQ(CompareDateText(a, b), result) << a << " / " << b;
    EXPECT_GE(TicksSince(TickCount() + 10u), 0xFFFFFFF6u); // wraps like the system tick count
}
