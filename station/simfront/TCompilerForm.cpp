#include "TCompilerForm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>

#include "ComDevice.h"
#include "DownloadMessages.h"
#include "EngineText.h"
#include "TStationSettings.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

constexpr int kStartInterval = 100;  // ms until the work starts
constexpr int kPollInterval = 50;    // ms between progress polls

TCompilerForm::PortChooser& PortChooserSlot() {
  static TCompilerForm::PortChooser chooser;
  return chooser;
}

QLabel* NewLabel(const char* name, const QString& text, QWidget* parent) {
  // No accessible name of its own: a label's name is its current text,
  // which is what assistive technology reads, and the window tests with it.
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  return label;
}

}  // namespace

int TCompilerForm::runningForms_ = 0;

void TCompilerForm::SetPortChooser(PortChooser chooser) { PortChooserSlot() = std::move(chooser); }

TCompilerForm::TCompilerForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CompilerForm"));
  setWindowTitle(QStringLiteral("Compilieren"));
  // A title bar without system menu buttons: the window closes through its button only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(true);

  lProject = NewLabel("lProject", QStringLiteral("Projekt: "), this);
  lAction = NewLabel("lAction", QStringLiteral("Compiliere Projekt"), this);
  ctrlProgress = new QProgressBar(this);
  ctrlProgress->setObjectName(QStringLiteral("ctrlProgress"));
  ctrlProgress->setAccessibleName(QStringLiteral("Fortschritt"));
  ctrlProgress->setRange(0, 100);
  ctrlProgress->setValue(0);
  ctrlProgress->setTextVisible(false);
  lStatus1 = NewLabel("lStatus1", QString(), this);
  lStatus2 = NewLabel("lStatus2", QString(), this);
  bClose = new QPushButton(QStringLiteral("Abbrechen"), this);
  bClose->setObjectName(QStringLiteral("bClose"));
  bClose->setDefault(true);
  bClose->setAutoDefault(true);
  connect(bClose, &QPushButton::clicked, this, &TCompilerForm::CloseClicked);

  ThreadTimer = new QTimer(this);
  ThreadTimer->setObjectName(QStringLiteral("ThreadTimer"));
  connect(ThreadTimer, &QTimer::timeout, this, &TCompilerForm::ThreadTimerTick);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(bClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lProject);
  layout->addWidget(lAction);
  layout->addWidget(ctrlProgress);
  layout->addWidget(lStatus1);
  layout->addWidget(lStatus2);
  layout->addSpacing(6);
  layout->addLayout(buttonRow);
  // Fixed for the user; the height follows a wrapped error text.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  for (QLabel* label : {lProject, lAction, lStatus1, lStatus2}) label->setFixedWidth(400);
  ctrlProgress->setFixedWidth(400);
}

TCompilerForm::~TCompilerForm() {
  if (thread_) {
    if (!thread_->Ended()) {
      thread_->Terminate();
      if (model_) PlexorBreak(model_->Engine());
    }
    thread_.reset();  // joins: the worker never outlives the window
  }
  if (Running()) --runningForms_;
  port_.Close();
  if (model_) model_->SetErrorBlockId(errorBlockId_);
}

void TCompilerForm::SetModel(TTarvixPlusModel* model) {
  model_ = model;
  lProject->setText(QStringLiteral("Projekt: %1").arg(model ? model->DisplayName() : QString()));
}

void TCompilerForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Only the first showing starts the work, not a window restored later.
  if (shown_) return;
  shown_ = true;
  adjustSize();
  if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  if (!model_) {
    // Closing from inside the show would leave a modal loop that never ran.
    QTimer::singleShot(0, this, [this] {
      TUserInterface::Current().ErrorBox(QStringLiteral("Interner Fehler: Model nicht gesetzt!"));
      done(QDialog::Rejected);
    });
    return;
  }
  ThreadTimer->start(kStartInterval);
}

void TCompilerForm::closeEvent(QCloseEvent* event) {
  if (Running()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void TCompilerForm::done(int result) {
  if (Running()) return;
  QDialog::done(result);
}

void TCompilerForm::ThreadTimerTick() {
  if (started_) {
    if (finished_) {
      ThreadTimer->stop();
      return;
    }
    PollProgress();
    if (thread_->Terminated() && !thread_->Ended()) {
      // The engine clears a break when it enters the next compile or
      // download step; repeating it keeps an abort from being lost there.
      PlexorBreak(model_->Engine());
    }
    // Every run ends in a stage that finishes the window; this only guards
    // against a worker that left without one.
    if (thread_->Ended() && !finished_) Finish();
    return;
  }
  if (download_) {
    ThreadTimer->stop();
    if (!PreparePort()) return;
  }
  StartThread();
}

bool TCompilerForm::PreparePort() {
  TStationSettings& settings = TStationSettings::Current();
  if (settings.com < 1) {
    if (!PortChooserSlot() || !PortChooserSlot()(settings, model_, this)) {
      done(QDialog::Rejected);
      return false;
    }
    if (settings.com < 1) return false;
  }
  const QString name = QStringLiteral("COM%1").arg(settings.com);
  const QString device = ComDevice(settings);
  if (device.isEmpty() || !port_.Open(device)) {
    const int error = device.isEmpty() ? ENOENT : port_.Error();
    TUserInterface::Current().ErrorBox(QStringLiteral("Fehler beim Öffnen der Schnittstelle %1: %2\r%3")
                                           .arg(name)
                                           .arg(error)
                                           .arg(TSerialPort::Explain(error, device.isEmpty() ? name : device)));
    done(QDialog::Rejected);
    return false;
  }
  return true;
}

void TCompilerForm::StartThread() {
  thread_ = std::make_unique<TTarvixPlusCompileThread>([this](uint8_t stage) { ShowStage(stage); }, model_->Engine(),
                                                       download_, port_.IsOpen() ? port_.Handle() : -1,
                                                       !model_->Tables().empty());
  started_ = true;
  ++runningForms_;
  sinceLastPoll_.start();
  ThreadTimer->start(kPollInterval);
}

void TCompilerForm::PollProgress() {
  if (sinceLastPoll_.isValid()) longestGap_ = std::max(longestGap_, sinceLastPoll_.restart());
  ctrlProgress->setValue(std::clamp(PlexorGetProgress(model_->Engine()), 0, 100));
}

void TCompilerForm::SetStatus(QLabel* label, const QString& text, bool error) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, error ? Qt::red : Qt::black);
  label->setPalette(palette);
  label->setText(text);
}

void TCompilerForm::ShowStage(uint8_t stage) {
  using T = TTarvixPlusCompileThread;
  TUserInterface& ui = TUserInterface::Current();
  const PlexorHandle engine = model_->Engine();
  switch (stage) {
    case T::kCompiling:
      lAction->setText(QStringLiteral("Compiliere..."));
      break;
    case T::kTables:
      lAction->setText(QStringLiteral("Lade Tabellen..."));
      LoadTables();
      break;
    case T::kDownloading:
      lAction->setText(QStringLiteral("Übertrage in Tarvix-Unit..."));
      break;
    case T::kCompiled:
      lAction->setText(lAction->text() + QStringLiteral("fertig"));
      SetStatus(lStatus1, QStringLiteral("Programmlänge %1 bytes").arg(PlexorGetCodeLength(engine)), false);
      model_->SetCompiled(true);
      break;
    case T::kFailed: {
      ui.Beep(TUserInterface::Sound::Warning);
      lAction->setText(QStringLiteral("Fertig"));
      QString message = enginetext::ToQString(PlexorGetErrorMessage(engine));
      if (message.isEmpty()) message = QStringLiteral("Interner Fehler!");
      SetStatus(lStatus1, message, true);
      // 0 (init or finish refused) names no block.
      errorBlockId_ = thread_->Result() != 0 ? thread_->Result() : -1;
      model_->SetCompiled(false);
      Finish();
      break;
    }
    case T::kDownloadEnded: {
      const int32_t result = thread_->Result();
      if (result < 1) {
        ui.Beep(TUserInterface::Sound::Warning);
        lAction->setText(lAction->text() + QStringLiteral("abgebrochen"));
        SetStatus(lStatus2, result == 0 ? QString() : DownloadResultText(result), true);
        Finish();
        // No success sound after a failed download.
        thread_->Terminate();
      } else {
        lAction->setText(lAction->text() + QStringLiteral("fertig"));
        SetStatus(lStatus2, DownloadResultText(result), false);
      }
      break;
    }
    case T::kDone:
      ui.Beep(TUserInterface::Sound::Information);
      Finish();
      break;
    case T::kStopped:
    default:
      Finish();
      break;
  }
  emit StageShown(stage);
}

void TCompilerForm::LoadTables() {
  const PlexorHandle engine = model_->Engine();
  for (const auto& table : model_->Tables()) {
    const QString text = TTarvixPlusModel::TableText(*table);
    if (text.isEmpty()) continue;
    const std::string name = enginetext::ToBytes(table->Name);
    const std::string bytes = enginetext::ToBytes(text);
    if (PlexorLoadTable(engine, name.c_str(), bytes.c_str())) continue;
    const QString message = enginetext::ToQString(PlexorGetErrorMessage(engine));
    if (!message.isEmpty()) SetStatus(lStatus1, message, true);
    TUserInterface::Current().Beep(TUserInterface::Sound::Warning);
    // The engine has dropped the half-built image; nothing valid is left to run.
    model_->SetCompiled(false);
    Finish();
    thread_->Terminate();
    return;
  }
}

void TCompilerForm::Finish() {
  if (finished_) return;
  if (started_) {
    PollProgress();
    --runningForms_;
  }
  finished_ = true;
  ThreadTimer->stop();
  bClose->setText(QStringLiteral("OK"));
  port_.Close();
}

void TCompilerForm::CloseClicked() {
  if (Running()) {
    if (thread_) thread_->Terminate();
    PlexorBreak(model_->Engine());
    return;
  }
  done(finished_ ? QDialog::Accepted : QDialog::Rejected);
}
