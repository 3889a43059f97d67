// TUserInterface: everything the station's model asks the user goes through
// this interface, so that the model runs without windows. The shell
// implements it with Qt widgets, the command-line tools on the terminal and
// the tests with a recorder.
//
// Message texts are the station's German texts as QString. File filters use
// the "Description (*.ext)|*.ext|..." form of the stored texts: pairs of a
// description and a pattern list separated by '|'; an implementation turns
// them into its own dialog's form.
#pragma once

#include <QString>
#include <cstdint>

#include "TCommentFont.h"

class QPrinter;

class TUserInterface {
 public:
  enum class Sound { Warning, Critical, Information, Question, Stop };
  enum class Answer { Yes, No, Cancel };

  struct FileRequest {
    QString caption;
    QString filter;            // "Text (*.txt)|*.txt|..." form
    QString defaultExtension;  // without the dot
    QString initialName;       // file name or directory to start at
  };

  virtual ~TUserInterface() = default;

  virtual void Beep(Sound sound) = 0;
  // Warning sound, then a modal box with an OK button.
  virtual void ErrorBox(const QString& text) = 0;
  // Critical sound, then a modal box with an OK button (fatal errors).
  virtual void FatalBox(const QString& text) = 0;
  // Information sound, then a modal box with an OK button.
  virtual void InfoBox(const QString& text) = 0;
  // Question sound, then Yes/No or Yes/No/Cancel.
  virtual bool AskYesNo(const QString& text) = 0;
  virtual Answer AskYesNoCancel(const QString& text) = 0;
  // Yes/No with No as the default button, for questions whose Yes destroys
  // something. Without an override it is the plain question.
  virtual bool AskYesNoDefaultNo(const QString& text) { return AskYesNo(text); }

  // The chosen file's full name, or empty when cancelled.
  virtual QString OpenFileName(const FileRequest& request) = 0;
  virtual QString SaveFileName(const FileRequest& request) = 0;
  // A printer configured by the user (owned by the implementation, valid
  // until the next call), or null when cancelled.
  virtual QPrinter* PrintDialog() = 0;
  // Lets the user set up the printer that PrintDialog and PrintTextDialog
  // then start from; nothing is printed.
  virtual void PrinterSetup() {}
  // The print dialog of a text window: it offers the range "selection" only
  // when canPrintSelection is set; the printer's printRange() tells whether
  // the user chose it. Without an override it is the plain print dialog.
  virtual QPrinter* PrintTextDialog(bool canPrintSelection) {
    (void)canPrintSelection;
    return PrintDialog();
  }
  // Integer input dialog of the simulator; true with the new value on OK.
  virtual bool InputInteger(const QString& caption, const QString& prompt, int32_t& value) = 0;

  // The comment-block dialog: true on OK with the edited text and font.
  virtual bool EditComment(QString& text, TCommentFont& font) = 0;
  // The block bitmap dialog: true on OK with the chosen file name (empty
  // removes the user bitmap).
  virtual bool EditBlockBitmap(QString& fileName) = 0;
  // Opens the help file at a context number.
  virtual void ShowHelp(int32_t context) = 0;

  // Hourglass cursor, nested: each BeginWait is matched by an EndWait.
  virtual void BeginWait() = 0;
  virtual void EndWait() = 0;
  // Lets the user interface handle pending events during long work.
  virtual void ProcessEvents() = 0;

  // The instance set by the shell or a test; a silent one that answers
  // "no"/"cancel" when none was set. Not owned.
  static TUserInterface& Current();
  static void SetCurrent(TUserInterface* ui);
};

// Says nothing and declines every question: the instance in use until the
// shell or a test sets one, and a base for front ends that answer only some
// calls themselves.
class TSilentUserInterface : public TUserInterface {
 public:
  void Beep(Sound) override {}
  void ErrorBox(const QString&) override {}
  void FatalBox(const QString&) override {}
  void InfoBox(const QString&) override {}
  bool AskYesNo(const QString&) override { return false; }
  Answer AskYesNoCancel(const QString&) override { return Answer::Cancel; }
  QString OpenFileName(const FileRequest&) override { return {}; }
  QString SaveFileName(const FileRequest&) override { return {}; }
  QPrinter* PrintDialog() override { return nullptr; }
  bool InputInteger(const QString&, const QString&, int32_t&) override { return false; }
  bool EditComment(QString&, TCommentFont&) override { return false; }
  bool EditBlockBitmap(QString&) override { return false; }
  void ShowHelp(int32_t) override {}
  void BeginWait() override {}
  void EndWait() override {}
  void ProcessEvents() override {}
};

// Shows the hourglass for the lifetime of the object.
class TWaitCursor {
 public:
  TWaitCursor() { TUserInterface::Current().BeginWait(); }
  ~TWaitCursor() { TUserInterface::Current().EndWait(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};
