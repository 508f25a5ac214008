#include <QCloseEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QToolBar>
#include <memory>

#include "base/errors.h"
#include "shell/documenttabbar.h"
#include "shelltestsupport.h"

namespace fw {
namespace {

using test::App;
using test::Settle;

// A child window that refuses to close, as a document does when its save fails.
class StubbornWindow : public QMdiSubWindow {
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// An MDI parent with the tab bar in a toolbar band, as the main window has it.
class TabBarFixture : public testing::Test {
protected:
    void SetUp() override {
        App();
        window_ = std::make_unique<QMainWindow>();
        area_ = new QMdiArea;
        area_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);  // as the main window
        window_->setCentralWidget(area_);
        tabs_ = new DocumentTabBar(window_.get());
        window_->addToolBar(QStringLiteral("Documents"))->addWidget(tabs_);
        window_->resize(800, 600);
        window_->show();
        Settle();
    }
    void TearDown() override {
        window_.reset();
        Settle();
    }

    QMdiSubWindow* AddWindow(const QString& title, QMdiSubWindow* window = nullptr) {
        if (window == nullptr) window = new QMdiSubWindow;
        window->setWidget(new QWidget);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(title);
        area_->addSubWindow(window);
        window->show();
        tabs_->AddForm(window, 5, QStringLiteral("/forms/") + title);
        return window;
    }

    std::unique_ptr<QMainWindow> window_;
    QMdiArea* area_ = nullptr;
    DocumentTabBar* tabs_ = nullptr;
};

TEST(DocumentTabBarCreation, FailsWithoutAnMdiParentOrWithASecondBar) {
    App();
    auto expectError = [](QWidget* owner, const char* message) {
        try {
            DocumentTabBar tabs(owner);
            ADD_FAILURE() << "no error, expected " << message;
        } catch (const Exception& error) {
            EXPECT_STREQ(error.what(), message);
        }
    };
    expectError(nullptr, "MDITab can be put only on Form.");

    QMainWindow plain;
    auto* child = new QWidget;
    plain.setCentralWidget(child);
    expectError(child, "MDITab can be put only on Form.");
    expectError(&plain, "MDITab can be put only on MDIForm.");

    QMainWindow mdiParent;
    mdiParent.setCentralWidget(new QMdiArea);
    DocumentTabBar first(&mdiParent);
    expectError(&mdiParent, "Only one MDITab can be put on MDIForm.");
}

TEST_F(TabBarFixture, RegisteringAWindowTwiceAddsOneTabWithTheCaptionOfThatMoment) {
    QMdiSubWindow* form = AddWindow(QStringLiteral("Form1.dfm"));
    tabs_->AddForm(form, 5, QStringLiteral("another hint"));
    tabs_->AddForm(nullptr, 5, QStringLiteral("nothing"));
    form->setWindowTitle(QStringLiteral("renamed"));

    ASSERT_EQ(tabs_->count(), 1);
    EXPECT_EQ(tabs_->tabText(0), QStringLiteral("Form1.dfm"));
    EXPECT_EQ(tabs_->FormAt(0), form);
    EXPECT_EQ(tabs_->HintAt(0), QStringLiteral("/forms/Form1.dfm"));
    EXPECT_EQ(tabs_->ImageIndexAt(0), 5);
    EXPECT_EQ(tabs_->FormAt(1), nullptr);
    EXPECT_EQ(tabs_->FormAt(-1), nullptr);
    EXPECT_EQ(tabs_->HintAt(1), QString());
}

TEST_F(TabBarFixture, TabsAndActiveWindowStayInStep) {
    QMdiSubWindow* a = AddWindow(QStringLiteral("a.dfm"));
    QMdiSubWindow* b = AddWindow(QStringLiteral("b.dfm"));
    QMdiSubWindow* c = AddWindow(QStringLiteral("c.dfm"));
    // Registering selects the new tab and brings its window forward.
    EXPECT_EQ(tabs_->currentIndex(), 2);
    EXPECT_EQ(area_->currentSubWindow(), c);

    area_->setActiveSubWindow(a);
    EXPECT_EQ(tabs_->currentIndex(), 0);

    tabs_->setCurrentIndex(1);  // as a click on the tab does
    EXPECT_EQ(area_->currentSubWindow(), b);

    // Closing the active window: its tab goes, and the tab of the window the area
    // activates next is selected.
    b->close();
    Settle();
    ASSERT_EQ(tabs_->count(), 2);
    QMdiSubWindow* next = area_->currentSubWindow();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(tabs_->FormAt(tabs_->currentIndex()), next);
    EXPECT_EQ(tabs_->HintAt(0), QStringLiteral("/forms/a.dfm"));
    EXPECT_EQ(tabs_->HintAt(1), QStringLiteral("/forms/c.dfm"));
}

TEST_F(TabBarFixture, SelectingAMinimisedWindowsTabRestoresIt) {
    QMdiSubWindow* a = AddWindow(QStringLiteral("a.dfm"));
    QMdiSubWindow* b = AddWindow(QStringLiteral("b.dfm"));
    a->showMinimized();
    tabs_->setCurrentIndex(1);
    Settle();
    ASSERT_TRUE(a->isMinimized());
    ASSERT_EQ(area_->currentSubWindow(), b);

    tabs_->setCurrentIndex(0);
    EXPECT_FALSE(a->isMinimized());
    EXPECT_EQ(area_->currentSubWindow(), a);

    // Minimising leaves the window's tab selected; a click on that tab restores it.
    a->showMinimized();
    Settle();
    ASSERT_EQ(tabs_->currentIndex(), 0);
    ASSERT_TRUE(a->isMinimized());
    const QPoint point = tabs_->tabRect(0).center();
    QMouseEvent press(QEvent::MouseButtonPress, point, tabs_->mapToGlobal(point), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tabs_, &press);
    EXPECT_FALSE(a->isMinimized());
}

TEST_F(TabBarFixture, MouseMovesShowTheHintOfTheTabUnderTheMouse) {
    AddWindow(QStringLiteral("a.dfm"));
    AddWindow(QStringLiteral("b.dfm"));
    auto moveTo = [this](const QPoint& point) {
        QMouseEvent move(QEvent::MouseMove, point, tabs_->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(tabs_, &move);
        return tabs_->toolTip();
    };
    EXPECT_EQ(moveTo(tabs_->tabRect(1).center()), QStringLiteral("/forms/b.dfm"));
    EXPECT_EQ(moveTo(tabs_->tabRect(0).center()), QStringLiteral("/forms/a.dfm"));
    ASSERT_GT(tabs_->width(), tabs_->tabRect(1).right() + 4) << "the bar has no empty space";
    EXPECT_EQ(moveTo(QPoint(tabs_->width() - 2, tabs_->height() / 2)), QString());
}

TEST_F(TabBarFixture, CloseAllStopsAtAWindowThatRefuses) {
    QPointer<QMdiSubWindow> bottom = AddWindow(QStringLiteral("bottom.dfm"));
    QPointer<QMdiSubWindow> stubborn = AddWindow(QStringLiteral("stubborn.dfm"), new StubbornWindow);
    QPointer<QMdiSubWindow> top = AddWindow(QStringLiteral("top.dfm"));

    // Bottom of the stacking order first: the window above the refusing one stays.
    EXPECT_FALSE(tabs_->CloseAll());
    Settle();
    EXPECT_TRUE(bottom.isNull());
    EXPECT_FALSE(stubborn.isNull());
    EXPECT_FALSE(top.isNull());
    EXPECT_EQ(tabs_->count(), 2);
}

TEST_F(TabBarFixture, MinimizeAllMinimisesEveryChildAlongTheBottom) {
    QList<QMdiSubWindow*> windows;
    for (const char* name : {"a.dfm", "b.dfm", "c.dfm"})
        windows << AddWindow(QString::fromLatin1(name));
    // A child without a tab counts too.
    auto* untabbed = new QMdiSubWindow;
    untabbed->setWidget(new QWidget);
    area_->addSubWindow(untabbed);
    untabbed->show();
    windows << untabbed;

    tabs_->MinimizeAll();
    Settle();
    const QRect viewport = area_->viewport()->rect();
    for (int i = 0; i < windows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(windows[i]->isMinimized());
        EXPECT_TRUE(viewport.contains(windows[i]->geometry()));
        EXPECT_EQ(windows[i]->geometry().bottom(), viewport.bottom());
        for (int j = 0; j < i; ++j)
            EXPECT_FALSE(windows[i]->geometry().intersects(windows[j]->geometry()));
    }
}

}  // namespace
}  // namespace fw
