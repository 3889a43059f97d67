// Shared set-up of the block editor tests: a GUI application on the
// offscreen platform, a recording user interface, settings at their start
// values, a fake catalogue, and an engine with one page.
#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QBuffer>
#include <QPainter>
#include <cstdlib>
#include <map>
#include <memory>

#include "CellEditorSettings.h"
#include "RecordingUserInterface.h"
#include "TBlockCatalogue.h"
#include "plexor.h"

inline void EnsureGuiApp() {
  if (QGuiApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "blockedit_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

inline QByteArray PngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// A catalogue with fixed lines and pictures, instead of the images library.
class FakeCatalogueSource : public TBlockCatalogueSource {
 public:
  QByteArray groups;
  std::map<QByteArray, QByteArray> blocks;
  std::map<QByteArray, QByteArray> bitmaps;

  QByteArray BlockGroups() override { return groups; }
  std::optional<QByteArray> Blocks(const QByteArray& key) override {
    const auto it = blocks.find(key);
    if (it == blocks.end()) return std::nullopt;
    return it->second;
  }
  std::optional<QByteArray> Bitmap(const QByteArray& name) override {
    const auto it = bitmaps.find(name);
    if (it == bitmaps.end()) return std::nullopt;
    return it->second;
  }
};

// A 40 x 20 picture: magenta background with a dark green square in the middle.
inline QImage AddPicture() {
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(QColor(0xFF, 0x00, 0xFF));
  QPainter p(&image);
  p.fillRect(15, 5, 10, 10, QColor(0, 100, 0));
  return image;
}

// Types used throughout: 700 constant (no picture), 200 add (picture "BMP_ADD"),
// 300 not (picture "BMP_MISSING", which the library lacks).
inline std::unique_ptr<FakeCatalogueSource> StandardCatalogue() {
  auto source = std::make_unique<FakeCatalogueSource>();
  source->groups = "GRP_CONST|Konstanten\r\nGRP_CALC|Arithmetik\r\n";
  source->blocks["GRP_CONST"] = "GLY_CONST||Zahl|700\r\n";
  source->blocks["GRP_CALC"] = "GLY_ADD|BMP_ADD|Addition|200\r\nGLY_NOT|BMP_MISSING|Nicht|300\r\n";
  source->bitmaps["GRP_CONST"] = PngBytes(QImage(24, 16, QImage::Format_RGB32));
  source->bitmaps["GRP_CALC"] = PngBytes(QImage(24, 16, QImage::Format_RGB32));
  source->bitmaps["BMP_ADD"] = PngBytes(AddPicture());
  return source;
}

class BlockEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    CellEditorSettings::Current() = CellEditorSettings{};
    TBlockCatalogue::Instance().Load(StandardCatalogue());
    ui.Clear();
  }
  void TearDown() override { TBlockCatalogue::Instance().Clear(); }

  RecordingUserInterface ui;
};

// An engine with the pages the test asks for.
class EngineFixture : public BlockEditTest {
 protected:
  void SetUp() override {
    BlockEditTest::SetUp();
    engine = PlexorCreate();
    ASSERT_NE(engine, nullptr);
    ASSERT_NE(PlexorAddPage(engine, 3, 0), 0);
  }
  void TearDown() override {
    PlexorDestroy(engine);
    BlockEditTest::TearDown();
  }

  PlexorHandle engine = nullptr;
};
