// Every dialog at its fixed size with the platform font: no control sticks
// out of the dialog, none covers another, and no text is cut. Set
// VORBLEN_DIALOG_SHOTS to a directory to get a picture of each dialog.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>

#include <memory>
#include <vector>

#include "BaudBlockDlg.h"
#include "BeepBlockDlg.h"
#include "InputCharDlg.h"
#include "InputStrListDlg.h"
#include "MaskInputDlg.h"
#include "PrintBlockDlg.h"
#include "QtAppEnvironment.h"
#include "SelectNumberDlg.h"

namespace {

// The controls a user reads or operates (not frames or internals of compound widgets).
std::vector<QWidget*> Controls(QWidget& dlg) {
  std::vector<QWidget*> out;
  for (QWidget* w : dlg.findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    QWidget* p = w->parentWidget();
    bool inner = false;
    for (; p && p != &dlg; p = p->parentWidget())
      if (qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QAbstractScrollArea*>(p)) inner = true;
    if (inner) continue;
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
        qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QAbstractScrollArea*>(w))
      out.push_back(w);
  }
  return out;
}

QRect InDialog(QWidget& dlg, QWidget* w) { return QRect(w->mapTo(&dlg, QPoint(0, 0)), w->size()); }

void CheckLayout(TParamDlg& dlg, const char* name) {
  SCOPED_TRACE(name);
  dlg.show();
  QRect client(QPoint(0, 0), dlg.size());
  std::vector<QWidget*> controls = Controls(dlg);
  ASSERT_GE(controls.size(), 3u);
  for (size_t i = 0; i < controls.size(); ++i) {
    QWidget* w = controls[i];
    QRect r = InDialog(dlg, w);
    EXPECT_TRUE(client.contains(r)) << w->objectName().toStdString();
    for (size_t j = i + 1; j < controls.size(); ++j)
      EXPECT_FALSE(r.intersects(InDialog(dlg, controls[j])))
          << w->objectName().toStdString() << " / " << controls[j]->objectName().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w)) {
      int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
      EXPECT_GE(label->height(), needed) << label->text().toStdString();
      if (!label->wordWrap()) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
      }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()))
          << button->text().toStdString();
    }
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w)) {
      EXPECT_GE(w->height(), w->fontMetrics().height());
    }
  }
  QByteArray dir = qgetenv("VORBLEN_DIALOG_SHOTS");
  if (!dir.isEmpty()) dlg.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(name) + ".png"));
  dlg.hide();
}

TEST(DialogLayout, EveryDialogIsTidy) {
  for (int mode = 0; mode <= 3; ++mode) {
    TMaskInputDlg mask(nullptr);
    mask.SetMode(mode, mode == 0 ? QString::fromUtf8("Geben Sie den Bezeichner einer Tabelle ein:") : QString());
    mask.SetText(mode == 2 ? QStringLiteral("12:30") : mode == 3 ? QStringLiteral("24.12") : QStringLiteral("-32768"));
    CheckLayout(mask, ("MaskInputDlg" + std::to_string(mode)).c_str());
  }
  TInputCharDlg ch(nullptr);
  ch.SetText(QStringLiteral("C"));
  CheckLayout(ch, "InputCharDlg");
  TInputStrListDlg list(nullptr);
  list.SetPrompt(QString::fromUtf8(
      "Geben Sie zeilenweise die Bezeichner der Zellen ein, zu denen verzweigt werden soll:"));
  list.SetText(QStringLiteral("Start\r\nMessen\r\nEnde\r\n"));
  CheckLayout(list, "InputStrListDlg");
  TPrintBlockDlg print(nullptr);
  print.SetChoice(3);
  CheckLayout(print, "PrintBlockDlg");
  TBaudBlockDlg baud(nullptr);
  baud.SetChoice(4);
  CheckLayout(baud, "BaudBlockDlg");
  TSelectNumberDlg number(nullptr);
  number.SetPrompt(QString::fromUtf8("W\xC3\xA4hlen Sie die Speicherzelle aus:"));
  number.SetMaximum(192);
  number.SetText(QStringLiteral("192"));
  CheckLayout(number, "SelectNumberDlg");
  TBeepBlockDlg beep(nullptr);
  beep.SetMelody("478 100 20 426 100 20 379 100 20 358 200 40 ");
  CheckLayout(beep, "BeepBlockDlg");
  // The grid shows its three columns without a horizontal scroll bar.
  EXPECT_GE(beep.Grid()->viewport()->width(), 80 + 83 + 83);
}

}  // namespace
