#pragma once
// A window for tests: starts in the window's initial states, records what it
// was asked to show, and answers folder choices from a script.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "shell/view.h"

class FakeView : public View {
 public:
  struct Message {
    std::u8string text;
    std::u8string title;
    MessageIcon icon;
    // The state of the scan controls while the message was shown.
    bool startEnabled;
    bool cleanEnabled;
    bool groupEnabled;
    int progressPosition;
    int progressMaximum;
  };
  struct Row {
    Text name;
    Text folder;
    std::u8string verdict;
    int tick = 0;
  };

  FakeView();

  // Recorded.
  std::vector<Message> messages;
  std::vector<Row> rows;
  std::vector<std::u8string> prompts;
  std::map<Control, bool> ticked;
  std::map<Control, bool> enabled;
  std::map<Control, std::u8string> captions;
  std::map<Control, Text> editTexts;
  int progressMaximum = 100;
  int progressPosition = 0;
  int pumps = 0;

  // Scripted.
  std::deque<Text> folderAnswers;      // answers of BrowseForFolder, in order; empty: cancel
  std::function<bool()> onPump;        // runs on each ProcessPendingMessages; false: closing
  std::function<void(const Message&)> onMessage;

  // The last message's text, or empty.
  std::u8string LastText() const { return messages.empty() ? std::u8string() : messages.back().text; }
  // Names of the rows in order.
  std::vector<Text> RowNames() const;

  // View
  void ShowMessage(UiText text, UiText title, MessageIcon icon) override;
  bool IsTicked(Control control) override { return ticked[control]; }
  void SetTicked(Control control, bool value) override { ticked[control] = value; }
  bool IsEnabled(Control control) override { return enabled[control]; }
  void SetEnabled(Control control, bool value) override { enabled[control] = value; }
  void SetCaption(Control control, UiText caption) override { captions[control] = std::u8string(caption); }
  void SetEditText(Control control, const Text& text) override { editTexts[control] = text; }
  void SetProgressMaximum(int maximum) override { progressMaximum = maximum; }
  void SetProgressPosition(int position) override { progressPosition = position; }
  int ProgressPosition() override { return progressPosition; }
  int RowCount() override { return static_cast<int>(rows.size()); }
  void AppendRow(const Text& name, const Text& folder, UiText verdict) override;
  void RemoveRow(int index) override;
  void RemoveAllRows() override { rows.clear(); }
  int RowTick(int index) override;
  void SetRowTick(int index, int tick) override;
  Text BrowseForFolder(UiText prompt) override;
  bool ProcessPendingMessages() override;
};
