#pragma once

#include <QString>

enum class Answer { Ok, Yes, No };

struct MessageBoxRequest {
    QString text;
    bool yesNo = false;
    bool questionIcon = false;
    Answer defaultButton = Answer::Ok;
    QString title = QStringLiteral("Zenobra");
    bool spoken = false; // read aloud too, when the player wants it
    // The text again as rich text, the digits that matter marked, and the marks in words for a
    // screen reader; "" for a box of plain text only.
    QString marked{};
    QString markedInWords{};
};

// Modal boxes. While one is open the window keeps delivering timer ticks.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer messageBox(const MessageBoxRequest& request) = 0;
    // The text entered, or "" when the player cancels.
    virtual QString inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
};
