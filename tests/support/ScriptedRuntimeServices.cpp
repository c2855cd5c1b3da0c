#include "ScriptedRuntimeServices.h"

ScriptedRuntimeServices::ScriptedRuntimeServices(QString programDirectory)
    : programDirectory(std::move(programDirectory))
{
}

int ScriptedRuntimeServices::ShowMessage(const QString& text, int style, const QString& title, QWidget*)
{
    messages.append({text, MessageStyle::IconOf(style), MessageStyle::ButtonsOf(style), title});
    return messageAnswers.isEmpty() ? MessageAnswer::Ok : messageAnswers.dequeue();
}

bool ScriptedRuntimeServices::InputBox(const QString& prompt, const QString&, const QString&, QString& text,
                                       QWidget*)
{
    inputPrompts.append(prompt);
    const std::optional<QString> answer = inputAnswers.isEmpty() ? std::nullopt : inputAnswers.dequeue();
    if (answer)
        text = *answer;
    return answer.has_value();
}

bool ScriptedRuntimeServices::ChooseFile(FileDialogMode, const QString&, const QString& filter, QString& path,
                                         QWidget*)
{
    fileFilters.append(filter);
    const std::optional<QString> answer = fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
    if (answer)
        path = *answer;
    return answer.has_value();
}

bool ScriptedRuntimeServices::OpenInDefaultBrowser(const QString& address)
{
    openedAddresses.append(address);
    return true;
}
