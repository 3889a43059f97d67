#include "TSplashForm.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QTimer>
#include <QVBoxLayout>

#include "TCommentFont.h"
#include "TFontMapper.h"

namespace {

const QLatin1String kVersionText("Version 1.10");
constexpr QPoint kVersionAt(22, 140);
constexpr QSize kPictureSize(400, 260);

}  // namespace

// The resources of a static library are registered by hand, at global scope.
static void InitShellResources() { Q_INIT_RESOURCE(shelldialogs); }

QImage TSplashForm::Picture() {
  InitShellResources();
  QImage image(kPictureSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QSvgRenderer picture(QStringLiteral(":/shell/splash.svg"));
  picture.render(&painter, QRectF(QPointF(0, 0), kPictureSize));
  // The version is drawn on the picture, not part of it, so it is one line
  // to change at a release.
  const QFont font = TFontMapper::Make(QStringLiteral("Arial"), 8, TCommentFont::kItalic);
  painter.setFont(font);
  painter.setPen(QColor(0x80, 0, 0));
  const QFontMetrics metrics(font);
  painter.drawText(QRect(kVersionAt, metrics.size(0, kVersionText)), Qt::AlignLeft | Qt::AlignTop, kVersionText);
  return image;
}

TSplashForm::TSplashForm(Mode mode, QWidget* parent) : TCenteredDlg(parent) {
  auto* layout = new QVBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setPixmap(QPixmap::fromImage(Picture()));
  picture->setAccessibleName(QStringLiteral("Marlix Tarvix Station, Version 1.10"));
  layout->addWidget(picture, 0, Qt::AlignHCenter);
  if (mode == Mode::Splash) {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);
    layout->setContentsMargins(0, 0, 0, 0);
    closeTimer_ = new QTimer(this);
    closeTimer_->setSingleShot(true);
    connect(closeTimer_, &QTimer::timeout, this, &QWidget::close);
  } else {
    setWindowTitle(QStringLiteral("Über Marlix Tarvix Station"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
  }
}

TSplashForm* TSplashForm::ShowSplash() {
  auto* splash = new TSplashForm(Mode::Splash);
  splash->adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect r(QPoint(0, 0), splash->size());
    r.moveCenter(screen->availableGeometry().center());
    splash->move(r.topLeft());
  }
  splash->show();
  return splash;
}

void TSplashForm::CloseAfter(int milliseconds) {
  if (closeTimer_) closeTimer_->start(milliseconds);
}

void TSplashForm::ShowAbout(QWidget* mainWindow) {
  TSplashForm about(Mode::About, mainWindow);
  about.Execute(mainWindow);
}
