#pragma once
// Message boxes: no owner window, task-modal, one OK button.

#include "text/ui_texts.h"

enum class MessageIcon : int { Error = 16, Warning = 48, Information = 64 };

class Notifier {
 public:
  virtual ~Notifier() = default;
  // Shows the message and returns when the user has closed it.
  virtual void ShowMessage(UiText text, UiText title, MessageIcon icon) = 0;
};
