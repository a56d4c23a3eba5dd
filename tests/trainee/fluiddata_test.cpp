// Fluid questions from drug records at the edges of what a double holds:
// the question shown must be one a nurse could answer, and the answer typed
// as a student types it is marked right.
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <limits>

#include "core/drug.h"
#include "core/text.h"
#include "session_fixture.h"
#include "trainee/frmmenu.h"

using exercisetest::Session;
using trainee::Frmquestion;

namespace {

core::drugrecord fluid(const std::string& name, double highest, double increment, double strength, double volume) {
  core::drugrecord d = core::drugrecord::blank();
  d.genericname = core::fixwidth(name, 30);
  d.doserange[0] = {increment, 6};
  d.doserange[1] = {highest, 6};
  d.increment = increment;
  d.preptype = {2, -1, -1, -1, -1};
  d.strength[0] = strength;
  d.strengthunit[0] = 6;
  d.volume[0] = volume;
  d.volumeunit[0] = 6;
  return d;
}

// The dose and drug of the question the window shows.
struct Asked {
  double dose = 0;
  QString drug;
};
Asked askedof(const Frmquestion& q) {
  static const QRegularExpression ordered(QStringLiteral("A client is ordered (\\S+) milligrams? of (\\S+) orally\\."));
  const auto m = ordered.match(q.Lblquestion->text());
  return m.hasMatch() ? Asked{m.captured(1).toDouble(), m.captured(2)} : Asked{};
}

}  // namespace

class FluidData : public Session {
 protected:
  // Opens the fluid module from the menu with every drug of the fluid index.
  Frmquestion& openfluids(int drugs) {
    std::string index = std::to_string(drugs) + "\r\n";
    for (int r = 1; r <= drugs; ++r) index += std::to_string(r) + ",1\r\n";
    writefile("vqdbs1.idx", "0\r\n");
    writefile("vqdbs2.idx", index);
    writefile("vqcat.idx", "1\r\n\"" + core::fixwidth("Mixtures", 20) + "\",1\r\n");
    startprogram();
    auto& menu = app.menu();
    menu.show();
    for (int row = 0; row < menu.Lstmodules->count(); ++row)
      if (menu.Lstmodules->item(row)->text() == QStringLiteral("Calculating Fluid Dosages"))
        menu.Lstmodules->setCurrentRow(row);
    QTest::mouseClick(menu.cmdaccept, Qt::LeftButton);
    Frmquestion& q = app.question();
    QTest::mouseClick(q.cmdstart, Qt::LeftButton);
    return q;
  }
  // Types the answer and presses Enter, as a student does.
  void type(Frmquestion& q, const QString& answer) {
    q.txtanswer->clear();
    QTest::keyClicks(q.txtanswer, answer);
    QTest::keyClick(q.txtanswer, Qt::Key_Return);
  }
};

// A volume so small that the answer underflows to nothing would ask for a
// dose far above the highest one with an answer of 0 ml: that drug is
// never asked about, and the sound one is.
TEST_F(FluidData, DrugWhoseAnswerIsNoVolumeIsNeverAsked) {
  core::writedrug(1, fluid("Brokenol", 400, 25, 1e10, std::numeric_limits<double>::denorm_min()));
  core::writedrug(2, fluid("Syrupol", 500, 25, 250, 5));
  for (float r : {0.0f, 0.0f, 0.01f}) draws.push(r);  // first drug, its row, a dose
  Frmquestion& q = openfluids(2);
  const Asked asked = askedof(q);
  ASSERT_EQ(asked.drug, QStringLiteral("Syrupol")) << q.Lblquestion->text().toStdString();
  EXPECT_GE(asked.dose, 25);
  EXPECT_LE(asked.dose, 250);
  type(q, QString::number(asked.dose / 50, 'f', 2));
  EXPECT_EQ(q.ansstate, 2);
  EXPECT_FALSE(q.Lblcorrect->isHidden());
  EXPECT_EQ(app.modules.modcorrect[6], 1);
}

// A preparation so strong that more than 16,777,216 increments fit into
// 5 ml: the dose is drawn from all of them, and one whose answer has more
// decimals than a student types (150000010 mg, 3.75000025 ml) is drawn again.
TEST_F(FluidData, DoseIsDrawnFromEveryIncrementThatFits) {
  core::writedrug(1, fluid("Concentrol", 1e9, 10, 2e8, 5));  // 20,000,000 increments
  for (float r : {0.0f, 0.0f, 0.75f, 0.49999997f}) draws.push(r);
  Frmquestion& q = openfluids(1);
  EXPECT_EQ(q.Lblquestion->text().section(QLatin1Char('\n'), 0, 0),
            QStringLiteral("A client is ordered 100000000 milligrams of Concentrol orally."));
  type(q, QStringLiteral("2.5"));
  EXPECT_EQ(q.ansstate, 2);
  EXPECT_EQ(app.modules.modcorrect[6], 1);
}

// Another program changes the database between two questions, in place or
// by putting a new file under its name: the next question reads the record
// as it now stands.
TEST_F(FluidData, RecordChangedBetweenTwoQuestionsIsSeen) {
  core::writedrug(1, fluid("Syrupol", 500, 25, 250, 5));
  Frmquestion& q = openfluids(1);
  ASSERT_EQ(askedof(q).drug, QStringLiteral("Syrupol"));
  type(q, QString::number(askedof(q).dose / 50, 'f', 2));
  ASSERT_EQ(q.ansstate, 2);

  writefile("VQDBASE.TMP", fluid("Elixirol", 500, 25, 250, 5).encode());
  std::filesystem::rename(core::datapath("VQDBASE.TMP"), core::datapath("VQDBASE.FIL"));
  QTest::mouseClick(q.cmdstart, Qt::LeftButton);  // Next
  ASSERT_EQ(askedof(q).drug, QStringLiteral("Elixirol"));
  type(q, QString::number(askedof(q).dose / 50, 'f', 2));
  ASSERT_EQ(q.ansstate, 2);

  core::writedrug(1, fluid("Mixturol", 500, 25, 250, 5));
  QTest::mouseClick(q.cmdstart, Qt::LeftButton);
  EXPECT_EQ(askedof(q).drug, QStringLiteral("Mixturol"));
  EXPECT_EQ(app.modules.modcorrect[6], 2);
}
