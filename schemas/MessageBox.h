#pragma once

#include <functional>
#include <string>

// The one way the logic talks to the user: a modal box over the main window.
// The window supplies the real box; tests supply a recorder.

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Question };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    std::wstring text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

using ShowMessage = std::function<MessageAnswer(const Message&)>;
