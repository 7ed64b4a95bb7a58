// For as long as it lives, nothing is asked and nothing waits for a user: questions take their
// default answers, dialogs close with their initial values, and the message boxes shown are
// collected (CScriptedAnswers::Messages) instead of shown.
#pragma once
#include "platform/ScriptedAnswers.h"

namespace tessaron
{
class CQuietUi
{
public:
    CQuietUi() { CScriptedAnswers::Instance().Reset(); }
    ~CQuietUi() { CScriptedAnswers::Instance().Reset(); }
    CQuietUi(const CQuietUi&) = delete;
    CQuietUi& operator=(const CQuietUi&) = delete;

private:
    CAcceptDefaults m_Accept;
};
} // namespace tessaron
