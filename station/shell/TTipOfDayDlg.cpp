#include "TTipOfDayDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>

#include "EngineText.h"
#include "RegularFile.h"
#include "TStationSettings.h"
#include "UserInterface.h"

namespace {

const QLatin1String kTipFile("TipOfDay.TXT");
constexpr qint64 kMinimumTipFileSize = 10;

}  // namespace

QString TTipOfDayDlg::TipFileName() {
  const QDir program(QCoreApplication::applicationDirPath());
  const QString beside = program.filePath(kTipFile);
  if (QFileInfo::exists(beside)) return beside;
  const QString installed = program.filePath(QStringLiteral("../share/vorblen/") + kTipFile);
  if (QFileInfo::exists(installed)) return QDir::cleanPath(installed);
  return beside;
}

bool TTipOfDayDlg::TipFileAvailable(const QString& fileName) {
  const QFileInfo info(fileName);
  return info.isFile() && info.size() > kMinimumTipFileSize;
}

QStringList TTipOfDayDlg::SplitTips(const QByteArray& text) {
  static const QRegularExpression kBreaks(QStringLiteral("[\\r\\n]+"));
  QStringList tips = enginetext::ToQString(text.constData()).split(kBreaks, Qt::SkipEmptyParts);
  for (QString& tip : tips) tip.replace(QLatin1String("\\n"), QLatin1String("\n"));
  return tips;
}

void TTipOfDayDlg::ShowTipOfDay(QWidget* centreOver) {
  TStationSettings& settings = TStationSettings::Current();
  TTipOfDayDlg dialog(TipFileName(), centreOver);
  dialog.Start(settings.nextTipOfDay, settings.showTipsOfDay);
  dialog.Execute(centreOver);
  settings.nextTipOfDay = dialog.NextTip();
  settings.showTipsOfDay = dialog.ShowAtStart();
}

TTipOfDayDlg::TTipOfDayDlg(const QString& fileName, QWidget* parent) : TCenteredDlg(parent) {
  setWindowTitle(QStringLiteral("Tip des Tages"));

  auto* layout = new QVBoxLayout(this);
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setBackgroundRole(QPalette::Base);
  frame->setAutoFillBackground(true);
  auto* frameLayout = new QHBoxLayout(frame);
  auto* icon = new QLabel(frame);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  icon->setAlignment(Qt::AlignTop);
  frameLayout->addWidget(icon);
  auto* column = new QVBoxLayout;
  auto* heading = new QLabel(QStringLiteral("Wußten Sie schon ..."), frame);
  QFont bigger = heading->font();
  bigger.setBold(true);
  bigger.setPointSizeF(bigger.pointSizeF() * 1.3);
  heading->setFont(bigger);
  text_ = new QLabel(frame);
  text_->setWordWrap(true);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  text_->setMinimumSize(340, 110);
  text_->setTextFormat(Qt::PlainText);
  text_->setAccessibleName(QStringLiteral("Tip"));
  column->addWidget(heading);
  column->addWidget(text_, 1);
  frameLayout->addLayout(column, 1);
  layout->addWidget(frame, 1);

  auto* buttons = new QHBoxLayout;
  showAtStart_ = new QCheckBox(QStringLiteral("Tips beim &Start anzeigen"), this);
  showAtStart_->setAccessibleName(QStringLiteral("Tips beim Start anzeigen"));
  nextButton_ = new QPushButton(QStringLiteral("&Nächster Tip"), this);
  nextButton_->setAccessibleName(QStringLiteral("Nächster Tip"));
  auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
  close->setAccessibleName(QStringLiteral("Schließen"));
  close->setDefault(true);
  buttons->addWidget(showAtStart_);
  buttons->addStretch();
  buttons->addWidget(nextButton_);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(nextButton_, &QPushButton::clicked, this, &TTipOfDayDlg::ShowNext);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  // Capped like a table file: a huge or endless file (a device, a FIFO)
  // must not hold up the start.
  QByteArray bytes;
  QString problem;
  readError_ = !regularfile::Read(fileName, regularfile::kMaxTableBytes, bytes, problem);
  if (!readError_) tips_ = SplitTips(bytes);
  if (readError_) {
    TUserInterface::Current().Beep(TUserInterface::Sound::Stop);
    text_->setText(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(QDir::toNativeSeparators(fileName)));
  } else if (tips_.isEmpty()) {
    text_->setText(QStringLiteral("Die Datei \"%1\" enthält keine Tips.").arg(QDir::toNativeSeparators(fileName)));
  }
  nextButton_->setEnabled(!tips_.isEmpty());
}

void TTipOfDayDlg::Start(int32_t nextTip, bool showAtStart) {
  showAtStart_->setChecked(showAtStart);
  next_ = nextTip;
  ShowNext();
}

bool TTipOfDayDlg::ShowAtStart() const { return showAtStart_->isChecked(); }

QString TTipOfDayDlg::ShownTip() const { return text_->text(); }

void TTipOfDayDlg::ShowNext() {
  // Without tips the stored index stays for the day the file is back.
  if (tips_.isEmpty()) return;
  if (next_ < 0 || next_ >= tips_.size()) next_ = 0;
  text_->setText(tips_[next_]);
  ++next_;
  if (next_ >= tips_.size()) {
    next_ = 0;
    nextButton_->setEnabled(false);
  }
}
