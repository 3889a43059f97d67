#include "TWidgetUserInterface.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "TBlockBitmapDlg.h"
#include "TCommentBlockDlg.h"

namespace {

// The caption of every box: the application's title.
QString BoxCaption() { return QStringLiteral("Marlix Tarvix Station"); }

QMessageBox::StandardButton Box(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) {
  QMessageBox box(icon, BoxCaption(), text, buttons, owner);
  box.setAccessibleName(text);
  if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

TWidgetUserInterface::TWidgetUserInterface() = default;
TWidgetUserInterface::~TWidgetUserInterface() = default;

QWidget* TWidgetUserInterface::Owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return owner_ ? owner_.data() : QApplication::activeWindow();
}

void TWidgetUserInterface::Beep(Sound) {
  // The platform has one bell; what kind of sound it was shows in the box.
  QApplication::beep();
}

void TWidgetUserInterface::ErrorBox(const QString& text) {
  Beep(Sound::Warning);
  Box(Owner(), QMessageBox::Warning, text, QMessageBox::Ok);
}

void TWidgetUserInterface::FatalBox(const QString& text) {
  Beep(Sound::Critical);
  Box(Owner(), QMessageBox::Critical, text, QMessageBox::Ok);
}

void TWidgetUserInterface::InfoBox(const QString& text) {
  Beep(Sound::Information);
  Box(Owner(), QMessageBox::Information, text, QMessageBox::Ok);
}

bool TWidgetUserInterface::AskYesNo(const QString& text) {
  Beep(Sound::Question);
  return Box(Owner(), QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool TWidgetUserInterface::AskYesNoDefaultNo(const QString& text) {
  Beep(Sound::Question);
  return Box(Owner(), QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

TUserInterface::Answer TWidgetUserInterface::AskYesNoCancel(const QString& text) {
  Beep(Sound::Question);
  switch (Box(Owner(), QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

QString TWidgetUserInterface::QtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) continue;
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    QString description = parts[i];
    description.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    out << (description.contains(QLatin1Char('(')) ? description : QStringLiteral("%1 (%2)").arg(description, patterns));
  }
  return out.join(QStringLiteral(";;"));
}

QString TWidgetUserInterface::OpenFileName(const FileRequest& request) {
  QFileDialog dialog(Owner(), request.caption, request.initialName, QtFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(request.defaultExtension);
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first() : QString();
}

QString TWidgetUserInterface::SaveFileName(const FileRequest& request) {
  QFileDialog dialog(Owner(), request.caption, request.initialName, QtFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(request.defaultExtension);
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first() : QString();
}

QPrinter& TWidgetUserInterface::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

QPrinter* TWidgetUserInterface::PrintDialog() {
  QPrintDialog dialog(&Printer(), Owner());
  return dialog.exec() == QDialog::Accepted ? &Printer() : nullptr;
}

QPrinter* TWidgetUserInterface::PrintTextDialog(bool canPrintSelection) {
  Printer().setPrintRange(QPrinter::AllPages);
  QPrintDialog dialog(&Printer(), Owner());
  dialog.setOption(QAbstractPrintDialog::PrintSelection, canPrintSelection);
  return dialog.exec() == QDialog::Accepted ? &Printer() : nullptr;
}

void TWidgetUserInterface::PrinterSetup() {
  QPrintDialog dialog(&Printer(), Owner());
  dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
  dialog.setAccessibleName(dialog.windowTitle());
  dialog.exec();
}

bool TWidgetUserInterface::InputInteger(const QString& caption, const QString& prompt, int32_t& value) {
  if (inputHook_) return inputHook_(Owner(), caption, prompt, value);
  bool ok = false;
  const int result = QInputDialog::getInt(Owner(), caption, prompt, value, -32768, 65535, 1, &ok);
  if (ok) value = result;
  return ok;
}

bool TWidgetUserInterface::EditComment(QString& text, TCommentFont& font) {
  TCommentBlockDlg dialog(Owner());
  dialog.SetData(text, font);
  if (!dialog.Execute(Owner())) return false;
  text = dialog.Text();
  font = dialog.Font();
  return true;
}

bool TWidgetUserInterface::EditBlockBitmap(QString& fileName) {
  TBlockBitmapDlg dialog(Owner());
  dialog.SetFileName(fileName);
  if (!dialog.Execute(Owner())) return false;
  fileName = dialog.FileName();
  return true;
}

void TWidgetUserInterface::ShowHelp(int32_t context) {
  if (helpHook_) helpHook_(Owner(), context);
}

void TWidgetUserInterface::BeginWait() {
  if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TWidgetUserInterface::EndWait() {
  if (waitDepth_ > 0 && --waitDepth_ == 0) QApplication::restoreOverrideCursor();
}

void TWidgetUserInterface::ProcessEvents() { QApplication::processEvents(QEventLoop::AllEvents, 20); }
