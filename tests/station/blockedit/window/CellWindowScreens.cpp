// Pictures of the traffic-light example in the cell window at 100 % and
// 200 %, written next to the test for a look by eye; the checks make sure
// the pictures show blocks and wires, not only the grid.
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
#include <memory>

#include "CellEditorSettings.h"
#include "RecordingUserInterface.h"
#include "TBlockCatalogue.h"
#include "TBlockList.h"
#include "TBlockPalette.h"
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
};

}  // namespace

QTEST_MAIN(CellWindowScreens)

#include "CellWindowScreens.moc"
