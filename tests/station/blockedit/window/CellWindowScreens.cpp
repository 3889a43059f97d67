// Pictures of the traffic-light example in the cell window at 100 % and
// 200 %, written next to the test for a look by eye; the checks make sure
// the pictures show blocks and wires, not only the grid.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
#include <memory>

#include "CellEditorSettings.h"
#include "RecordingUserInterface.h"
#include "TBlockCatalogue.h"
#include "TBlockList.h"
#include "TBlockPalette.h"
#include "TCellPainter.h"
#include "TImagesCatalogueSource.h"
#include "TProgramCellForm.h"
#include "TTarvixPlusModel.h"

namespace {

class CellWindowScreens : public QObject {
  Q_OBJECT

 private slots:
  void trafficLight() {
    RecordingUserInterface ui;
    CellEditorSettings::Current() = CellEditorSettings{};
    TBlockCatalogue::Instance().Load(std::make_unique<TImagesCatalogueSource>());
    TTarvixPlusModel model;
    QVERIFY(model.LoadFromFile(QStringLiteral(EXAMPLES_DIR "/traffic.tvp")));
    TProgramCellForm form(&model);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    form.resize(800, 560);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.Cell() && form.Cell()->Count() > 0);
    for (double zoom : {1.0, 2.0}) {
      form.SetZoom(zoom);
      form.Scroller()->horizontalScrollBar()->setValue(0);
      form.Scroller()->verticalScrollBar()->setValue(0);
      QCoreApplication::processEvents();
      const QImage shot = form.grab().toImage();
      QVERIFY(shot.save(QStringLiteral("traffic-%1.png").arg(static_cast<int>(zoom * 100))));
      // Count the colours: grid and background alone would be two.
      QSet<QRgb> colours;
      for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) colours.insert(shot.pixel(x, y));
      QVERIFY(colours.size() > 6);
    }
    TBlockPalette palette;
    palette.resize(palette.sizeHint());
    palette.show();
    QCoreApplication::processEvents();
    QVERIFY(palette.grab().save(QStringLiteral("palette.png")));
    TBlockCatalogue::Instance().Clear();
  }

  // A cell body that breaks off in the middle: the window shows what was
  // read before the fault and stays usable.
  void brokenCellBody() {
    RecordingUserInterface ui;
    CellEditorSettings::Current() = CellEditorSettings{};
    QFile source(QStringLiteral(EXAMPLES_DIR "/traffic.tvp"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    const qsizetype at = bytes.indexOf("145,55,185,95");
    QVERIFY(at > 0);
    bytes.replace(at, 13, "145,zz,185,95");
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("broken.tvp"));
    QFile out(name);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    TTarvixPlusModel model;
    model.LoadFromFile(name);
    QVERIFY(!model.Cells().empty());
    TProgramCellForm form(&model);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    form.resize(640, 480);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.Cell());
    QCOMPARE(form.Cell()->Count(), 2);  // the comment and the first constant
    QVERIFY(!form.grab().isNull());
    QTest::mouseClick(form.Painter(), Qt::LeftButton, {}, QPoint(300, 300));
    form.DoCommand(20700, nullptr);
    QCOMPARE(form.Cell()->Count(), 3);
  }
};

}  // namespace

QTEST_MAIN(CellWindowScreens)

#include "CellWindowScreens.moc"
