// The option rules of the three boxes, the image browse and the help box.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "AppTestSupport.hpp"

namespace vornik::test {
namespace {

// The user's own change of a box: a mouse click on it.
void UserClicks(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

struct Boxes {
    bool check1, check2, check3;
    bool operator==(const Boxes&) const = default;
};

Boxes Read(const FrmVornik& w) {
    return {w.Check1()->isChecked(), w.Check2()->isChecked(), w.Check3()->isChecked()};
}

void PrintTo(const Boxes& b, std::ostream* os) {
    *os << "{" << b.check1 << "," << b.check2 << "," << b.check3 << "}";
}

TEST(OptionRules, RemovalBoxClearsRestoreEitherWay) {
    WindowUnderTest t;
    FrmVornik& w = *t.window;
    UserClicks(w.Check3());
    ASSERT_EQ(Read(w), (Boxes{false, false, true}));
    UserClicks(w.Check1());
    EXPECT_EQ(Read(w), (Boxes{true, false, false}));
    UserClicks(w.Check2());
    EXPECT_EQ(Read(w), (Boxes{true, true, false})) << "removal boxes are independent";

    w.Check3()->setChecked(true);  // not the user: no rule runs
    EXPECT_EQ(Read(w), (Boxes{true, true, true}));
    UserClicks(w.Check2());  // unchecking also counts
    EXPECT_EQ(Read(w), (Boxes{true, false, false}));
    w.Check3()->setChecked(true);
    UserClicks(w.Check1());
    EXPECT_EQ(Read(w), (Boxes{false, false, false}));
}

TEST(OptionRules, RestoreBoxClearsBothRemovalBoxesEitherWay) {
    WindowUnderTest t;
    FrmVornik& w = *t.window;
    UserClicks(w.Check1());
    UserClicks(w.Check2());
    ASSERT_EQ(Read(w), (Boxes{true, true, false}));
    UserClicks(w.Check3());
    EXPECT_EQ(Read(w), (Boxes{false, false, true}));
    UserClicks(w.Check3());
    EXPECT_EQ(Read(w), (Boxes{false, false, false}));

    w.Check1()->setChecked(true);
    w.Check2()->setChecked(true);
    w.Check3()->setChecked(true);
    UserClicks(w.Check3());  // unchecking the restore box
    EXPECT_EQ(Read(w), (Boxes{false, false, false}));
}

TEST(OptionRules, SpaceKeyIsAUserChangeToo) {
    WindowUnderTest t;
    FrmVornik& w = *t.window;
    w.Check3()->setChecked(true);
    w.Check1()->setFocus();
    QTest::keyClick(w.Check1(), Qt::Key_Space);
    EXPECT_EQ(Read(w), (Boxes{true, false, false}));
    w.Check3()->setFocus();
    QTest::keyClick(w.Check3(), Qt::Key_Space);
    EXPECT_EQ(Read(w), (Boxes{false, false, true}));
}

TEST(ImageBrowse, OffersTheThreeFiltersAndShowsTheMessengersNameOfTheFile) {
    WindowUnderTest t;
    t.dialogs.fileAnswers = {QStringLiteral("/tmp/some dir/../notes.TXT")};
    t.ClickBrowse();
    ASSERT_EQ(t.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(t.dialogs.fileRequests[0].filter,
              QStringLiteral("Gif Files|*.gif|Jpg Files|*.jpg|All Files|*.*|"));
    EXPECT_EQ(t.dialogs.fileRequests[0].currentName, QString());
    EXPECT_EQ(t.window->Text1()->text(), QStringLiteral("Z:\\tmp\\notes.TXT"));
    EXPECT_TRUE(t.dialogs.boxes.empty());
}

TEST(ImageBrowse, CancellingKeepsWhatTheUserTyped) {
    WindowUnderTest t;
    QTest::keyClicks(t.window->Text1(), QStringLiteral("typed.gif"));
    t.ClickBrowse();  // cancelled before any file was chosen
    EXPECT_EQ(t.window->Text1()->text(), QStringLiteral("typed.gif"));

    t.dialogs.fileAnswers = {QStringLiteral("/pics/first.gif"), std::nullopt};
    t.ClickBrowse();
    EXPECT_EQ(t.window->Text1()->text(), QStringLiteral("Z:\\pics\\first.gif"));
    t.window->Text1()->setText(QStringLiteral("/pics/typed over.jpg"));
    t.ClickBrowse();
    EXPECT_EQ(t.window->Text1()->text(), QStringLiteral("/pics/typed over.jpg"));
    // The dialog still starts from the file chosen last.
    ASSERT_EQ(t.dialogs.fileRequests.size(), 3u);
    EXPECT_EQ(t.dialogs.fileRequests[2].currentName, QStringLiteral("/pics/first.gif"));
}

TEST(ImageBrowse, BarFilterBecomesThreeDialogFiltersInOrder) {
    EXPECT_EQ(NameFiltersFromBarFilter(QStringLiteral("Gif Files|*.gif|Jpg Files|*.jpg|All "
                                                      "Files|*.*|")),
              (QStringList{QStringLiteral("Gif Files (*.gif)"), QStringLiteral("Jpg Files (*.jpg)"),
                           QStringLiteral("All Files (*)")}));
    EXPECT_EQ(NameFiltersFromBarFilter(QStringLiteral("Pictures|*.gif;*.jpg|")),
              QStringList{QStringLiteral("Pictures (*.gif *.jpg)")});
}

TEST(HelpBox, ShowsTheUsageTextAndChangesNothing) {
    WindowUnderTest t;
    t.window->Check2()->setChecked(true);
    t.window->Text1()->setText(QStringLiteral("kept"));
    t.ClickHelp();
    ASSERT_EQ(t.dialogs.boxes.size(), 1u);
    const MessageBoxRequest& box = t.dialogs.boxes[0];
    EXPECT_EQ(box.title, QStringLiteral("Help"));
    EXPECT_EQ(box.buttons, BoxButtons::kOk);
    EXPECT_EQ(box.icon, BoxIcon::kInformation);
    const QString expectedStart = QStringLiteral(
        "You may choose what you want to be displayed in the areas where banners are normaly at."
        "\r\n\r\n"
        "If you wish to remove the banners use the image 'noad.gif'.  Place it in some location "
        "that you will not remove it from."
        "\r\n\r\n"
        "By default it will load the noad.gif into the text box from the location that you "
        "extracted the files to.  Simply browse to the new location of the file, if you move it."
        "\r\n\r\n");
    ASSERT_TRUE(box.text.startsWith(expectedStart)) << box.text.toStdString();
    const QString credit = box.text.mid(expectedStart.size());
    EXPECT_FALSE(credit.isEmpty());
    EXPECT_FALSE(credit.contains(u'\n'));
    EXPECT_TRUE(credit.contains(QStringLiteral("https://")));
    EXPECT_EQ(Read(*t.window), (Boxes{false, true, false}));
    EXPECT_EQ(t.window->Text1()->text(), QStringLiteral("kept"));
    EXPECT_EQ(t.prefix.HiveText(), InitialHiveText());
}

}  // namespace
}  // namespace vornik::test
