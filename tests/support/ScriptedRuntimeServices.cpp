#include "ScriptedRuntimeServices.h"

ScriptedRuntimeServices::ScriptedRuntimeServices(QString programDirectory)
    : programDirectory(std::move(programDirectory))
{
}

int ScriptedRuntimeServices::ShowMessage(const QString& text, int style, const QString& title, QWidget*)
{
    messages.append({text, MessageStyle::IconOf(style), MessageStyle::ButtonsOf(style), title,
                     (style & MessageStyle::SecondIsDefault) != 0});
    return messageAnswers.isEmpty() ? MessageAnswer::Ok : messageAnswers.dequeue();
}

bool ScriptedRuntimeServices::InputBox(const QString& prompt, const QString& title, const QString&,
                                       QString& text, QWidget*)
{
    inputPrompts.append(prompt);
    inputTitles.append(title);
    const std::optional<QString> answer = inputAnswers.isEmpty() ? std::nullopt : inputAnswers.dequeue();
    if (answer)
        text = *answer;
    return answer.has_value();
}

bool ScriptedRuntimeServices::AskPassword(const QString& prompt, const QString&, QString& text, QWidget*)
{
    passwordPrompts.append(prompt);
    const std::optional<QString> answer =
        passwordAnswers.isEmpty() ? std::nullopt : passwordAnswers.dequeue();
    if (answer)
        text = *answer;
    return answer.has_value();
}

bool ScriptedRuntimeServices::ChooseFile(FileDialogMode mode, const QString& title, const QString& filter,
                                         QString& path, QWidget*)
{
    fileFilters.append(filter);
    fileDialogs.append({mode, title, path});
    const std::optional<QString> answer = fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
    if (answer)
        path = *answer;
    return answer.has_value();
}

bool ScriptedRuntimeServices::OpenInDefaultBrowser(const QString& address)
{
    if (!hasDefaultBrowser)
        return false;
    openedAddresses.append(address);
    return true;
}
