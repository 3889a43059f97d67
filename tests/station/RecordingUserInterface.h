// A TUserInterface for tests: records every call with its texts and answers
// from a queue that the test fills (defaults: No, Cancel, empty, null).
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <string>
#include <vector>

#include "UserInterface.h"

class RecordingUserInterface : public TUserInterface {
 public:
  struct Call {
    std::string kind;  // "Beep", "ErrorBox", "AskYesNo", ...
    QStringList texts;
  };
  struct Reply {
    bool accept = false;                // dialogs: OK; AskYesNo: Yes
    Answer answer = Answer::Cancel;     // AskYesNoCancel
    QString text;                       // file names, comment text, bitmap name
    int32_t value = 0;                  // InputInteger
    TCommentFont font;                  // EditComment (used when hasFont)
    bool hasFont = false;
    QPrinter* printer = nullptr;
  };

  RecordingUserInterface() { TUserInterface::SetCurrent(this); }
  ~RecordingUserInterface() override { TUserInterface::SetCurrent(nullptr); }

  std::vector<Call> calls;
  std::deque<Reply> replies;
  int waitDepth = 0;

  // The texts of every call of one kind, in order.
  QStringList Texts(const std::string& kind) const {
    QStringList out;
    for (const Call& c : calls)
      if (c.kind == kind) out << c.texts.join(QLatin1Char('|'));
    return out;
  }
  int Count(const std::string& kind) const {
    int n = 0;
    for (const Call& c : calls) n += c.kind == kind;
    return n;
  }
  void Clear() { calls.clear(); }

  void Beep(Sound sound) override { Record("Beep", {QString::number(static_cast<int>(sound))}); }
  void ErrorBox(const QString& text) override { Record("ErrorBox", {text}); }
  void FatalBox(const QString& text) override { Record("FatalBox", {text}); }
  void InfoBox(const QString& text) override { Record("InfoBox", {text}); }
  bool AskYesNo(const QString& text) override {
    Record("AskYesNo", {text});
    return Next().accept;
  }
  bool AskYesNoDefaultNo(const QString& text) override {
    Record("AskYesNoDefaultNo", {text});
    return Next().accept;
  }
  Answer AskYesNoCancel(const QString& text) override {
    Record("AskYesNoCancel", {text});
    return Next().answer;
  }
  QString OpenFileName(const FileRequest& r) override {
    Record("OpenFileName", {r.caption, r.filter, r.defaultExtension, r.initialName});
    return Next().text;
  }
  QString SaveFileName(const FileRequest& r) override {
    Record("SaveFileName", {r.caption, r.filter, r.defaultExtension, r.initialName});
    return Next().text;
  }
  QPrinter* PrintDialog() override {
    Record("PrintDialog", {});
    return Next().printer;
  }
  void PrinterSetup() override { Record("PrinterSetup", {}); }
  bool InputInteger(const QString& caption, const QString& prompt, int32_t& value) override {
    Record("InputInteger", {caption, prompt, QString::number(value)});
    const Reply r = Next();
    if (r.accept) value = r.value;
    return r.accept;
  }
  bool EditComment(QString& text, TCommentFont& font) override {
    Record("EditComment", {text, font.name});
    const Reply r = Next();
    if (r.accept) {
      text = r.text;
      if (r.hasFont) font = r.font;
    }
    return r.accept;
  }
  bool EditBlockBitmap(QString& fileName) override {
    Record("EditBlockBitmap", {fileName});
    const Reply r = Next();
    if (r.accept) fileName = r.text;
    return r.accept;
  }
  void ShowHelp(int32_t context) override { Record("ShowHelp", {QString::number(context)}); }
  void BeginWait() override {
    ++waitDepth;
    Record("BeginWait", {});
  }
  void EndWait() override {
    --waitDepth;
    Record("EndWait", {});
  }
  void ProcessEvents() override { Record("ProcessEvents", {}); }

 private:
  void Record(const char* kind, QStringList texts) { calls.push_back({kind, std::move(texts)}); }
  Reply Next() {
    if (replies.empty()) return {};
    Reply r = replies.front();
    replies.pop_front();
    return r;
  }
};
