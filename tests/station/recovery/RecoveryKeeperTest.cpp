// The timing rules of the recovery copy against a fake clock, and when the
// copy goes: a clean save, a project back at its file's state, a copy the
// project was restored from.
#include <QFile>
#include <QFileInfo>

#include "RecoveryTestSupport.h"
#include "TRecoveryKeeper.h"
#include "TRecoveryList.h"
#include "TRecoveryWriter.h"

namespace {

class RecoveryKeeperTest : public ::testing::Test {
 protected:
  void SetUp() override { project_ = rt::EditedProject(dir_.filePath(QStringLiteral("p.tvp"))); }

  // Lets the fake clock run to t (ms) and gives the keeper its turn; the
  // copies on disk afterwards.
  int Copies() {
    writer_.Flush();
    return static_cast<int>(rt::Copies(state_).size());
  }
  bool At(int64_t t) {
    now_ = t;
    return keeper_.Tick();
  }
  QByteArray CopyBody() {
    writer_.Flush();
    TRecoveryCopy copy;
    QString problem;
    EXPECT_TRUE(TRecoveryCopy::Read(keeper_.CopyPath(), copy, problem)) << problem.toStdString();
    return copy.body;
  }

  QTemporaryDir dir_;
  QString state_ = dir_.filePath(QStringLiteral("state/vorblen/recovery"));
  RecordingUserInterface ui_;
  std::unique_ptr<TTarvixPlusModel> project_;
  int64_t now_ = 0;
  TRecoveryWriter writer_;
  TRecoveryKeeper keeper_{state_, writer_, [this] { return now_; }};
};

TEST_F(RecoveryKeeperTest, ACopyFollowsAChangeAfterTheIntervalAndNotBefore) {
  keeper_.SetInterval(30);
  keeper_.Attach(project_.get());  // modified when attached: a change at 0
  EXPECT_FALSE(At(29999));
  EXPECT_EQ(Copies(), 0);
  EXPECT_TRUE(At(30000));
  EXPECT_EQ(Copies(), 1);
  EXPECT_EQ(CopyBody(), project_->SaveToBytes());

  // A quiet period: nothing new, no further copy.
  EXPECT_FALSE(At(120000));
  // Steady typing does not put the copy off: due one interval after the
  // first change not in a copy.
  struct Step {
    int64_t time;
    bool change;
    bool written;
  };
  const Step steps[] = {{121000, true, false}, {140000, true, false}, {150999, true, false},
                        {151000, false, true}, {152000, true, false}, {181999, false, false},
                        {182000, false, true}, {400000, false, false}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.time);
    now_ = s.time;
    if (s.change) {
      mt::AddCounterCell(*project_);
      keeper_.Changed();
    }
    EXPECT_EQ(keeper_.Tick(), s.written);
  }
  EXPECT_EQ(CopyBody(), project_->SaveToBytes());
  EXPECT_EQ(Copies(), 1);  // one file per project, rewritten
}

TEST_F(RecoveryKeeperTest, ACompileOrDownloadCopiesAtOnceWhatIsNotInACopy) {
  keeper_.SetInterval(30);
  keeper_.Attach(project_.get());
  now_ = 1000;
  EXPECT_TRUE(keeper_.WriteNow());
  EXPECT_EQ(CopyBody(), project_->SaveToBytes());
  EXPECT_FALSE(keeper_.WriteNow());  // already in the copy
  EXPECT_FALSE(At(31000));           // and the timer has nothing left to do
  mt::AddCounterCell(*project_);
  keeper_.Changed();
  EXPECT_TRUE(keeper_.WriteNow());
  EXPECT_EQ(CopyBody(), project_->SaveToBytes());
}

TEST_F(RecoveryKeeperTest, AnIntervalOfZeroMakesNoCopies) {
  keeper_.SetInterval(0);
  keeper_.Attach(project_.get());
  EXPECT_FALSE(At(1'000'000'000));
  EXPECT_FALSE(keeper_.WriteNow());
  EXPECT_EQ(Copies(), 0);
  EXPECT_FALSE(QFileInfo::exists(state_));
}

TEST_F(RecoveryKeeperTest, ADirectoryThatCannotBeMadeIsTriedAgainOneIntervalLater) {
  mt::WriteFile(dir_.filePath(QStringLiteral("state")), "a file where the directory should be");
  keeper_.SetInterval(30);
  keeper_.Attach(project_.get());
  EXPECT_FALSE(At(30000));
  EXPECT_FALSE(keeper_.Problem().isEmpty());
  EXPECT_EQ(keeper_.Schedule().DueAt(), 60000);
  EXPECT_FALSE(At(59999));
}

TEST_F(RecoveryKeeperTest, ACleanSaveOrAProjectBackAtItsFileRemovesTheCopy) {
  keeper_.SetInterval(5);
  keeper_.Attach(project_.get());
  ASSERT_TRUE(keeper_.WriteNow());
  ASSERT_EQ(Copies(), 1);
  ASSERT_TRUE(project_->Save());
  keeper_.Sync();
  EXPECT_EQ(Copies(), 0);
  EXPECT_FALSE(At(60000));  // nothing pending after the save

  // An unmodified project after a notification: the copy goes, too.
  mt::AddCounterCell(*project_);
  keeper_.Changed();
  ASSERT_TRUE(At(120000));
  ASSERT_EQ(Copies(), 1);
  project_->SetModified(false);
  keeper_.Changed();
  EXPECT_EQ(Copies(), 0);
}

TEST_F(RecoveryKeeperTest, ARestoredProjectReplacesItsOldCopyOnlyOnceItsOwnIsWritten) {
  // The copy of an ended station, as the list offers it.
  keeper_.SetInterval(30);
  keeper_.Attach(project_.get());
  ASSERT_TRUE(keeper_.WriteNow());
  writer_.Flush();
  const QString old = state_ + QStringLiteral("/old.vrc");
  ASSERT_TRUE(QFile::rename(keeper_.CopyPath(), old));

  TRecoveryCopy copy;
  QString problem;
  ASSERT_TRUE(TRecoveryCopy::Read(old, copy, problem));
  TTarvixPlusModel restored;
  ASSERT_TRUE(restored.LoadFromBytes(copy.body, copy.header.projectFile));
  restored.SetModified(true);
  keeper_.Attach(&restored);
  keeper_.Adopt(old);
  writer_.Flush();
  EXPECT_FALSE(QFileInfo::exists(old));
  EXPECT_EQ(CopyBody(), copy.body);

  // Saved under its name: no copy is left at all.
  ASSERT_TRUE(restored.Save());
  keeper_.Sync();
  EXPECT_EQ(Copies(), 0);
}

}  // namespace
