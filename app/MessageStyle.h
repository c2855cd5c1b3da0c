#pragma once

// A message box style is one button set plus one icon, added together.
namespace MessageStyle {
constexpr int Ok = 0;
constexpr int OkCancel = 1;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;

constexpr int NoIcon = 0x00;
constexpr int ErrorIcon = 0x10;
constexpr int QuestionIcon = 0x20;
constexpr int WarningIcon = 0x30;
constexpr int InformationIcon = 0x40;

// The second button (No, Cancel) is the default: for questions whose Yes cannot be undone.
constexpr int SecondIsDefault = 0x100;

constexpr int ButtonsOf(int style)
{
    return style & 0x0F;
}
constexpr int IconOf(int style)
{
    return style & 0xF0;
}
} // namespace MessageStyle

// The button that closed a message box.
namespace MessageAnswer {
constexpr int Ok = 0;
constexpr int Cancel = 1;
constexpr int Yes = 5;
constexpr int No = 6;
} // namespace MessageAnswer
