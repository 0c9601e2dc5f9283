#include <gmock/gmock.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <optional>

#include "app/main_panel.h"
#include "app/page_sheet.h"
#include "bench/mandated_waits.h"
#include "info/firmware_page.h"
#include "link/command_frame.h"
#include "panel_fixture.h"
#include "phonebook/edit_phonebook_dialog.h"
#include "phonebook/phonebook_file.h"
#include "phonebook/phonebook_page.h"
#include "res/ids_advanced.h"
#include "res/ids_firmware.h"
#include "res/ids_info.h"
#include "res/ids_phonebook.h"
#include "res/ids_settings.h"
#include "res/menus.h"
#include "res/pictures.h"
#include "res/templates.h"
#include "settings/settings_file.h"
#include "settings/settings_page.h"
#include "tests/support/modal_answers.h"
#include "tests/support/page_input.h"
#include "tests/support/tapped_device.h"
#include "ui/beep.h"
#include "ui/filter_edit.h"
#include "ui/image_button.h"
#include "ui/template_page.h"
#include "ui/window_waits.h"

namespace vornik::test {
namespace {

QImage TabPicture(int tab) {
  return PageSheet->tabIcon(tab).pixmap(20, 20).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage StripPicture(int index) {
  const auto pictures = res::SplitImageStrip(res::LoadBitmap(res::kBitmapTabPictures),
                                             res::kTabPictureWidth, res::kTabPictureMask);
  return pictures.value(index).toImage().convertToFormat(QImage::Format_ARGB32);
}

QWidget* VisibleHelpWindow() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->objectName() == "HelpWindow" && window->isVisible())
      return window;
  return nullptr;
}

TEST_F(PanelTest, FullModelShowsFivePagesWithTheirPicturesAndTheFirstActive) {
  CMainPanel panel;
  ASSERT_EQ(PageSheet->count(), 5);
  const QStringList titles = {"Settings", "Advanced", "Phonebook", "Information",
                              "Firmware Update"};
  for (int tab = 0; tab < 5; ++tab) {
    EXPECT_EQ(PageSheet->tabText(tab), titles[tab]);
    EXPECT_EQ(TabPicture(tab), StripPicture(tab)) << "tab " << tab;
  }
  EXPECT_EQ(PageSheet->currentIndex(), 0);
  EXPECT_EQ(PageSheet->activePage(), PageSheet->page(0));
  // Only the shown page has made its controls.
  EXPECT_TRUE(PageSheet->page(0)->initialized());
  for (int tab = 1; tab < 5; ++tab)
    EXPECT_FALSE(PageSheet->page(tab)->initialized());
  EXPECT_EQ(panel.windowTitle(), "Helmdeck");
  EXPECT_EQ(panel.exitButton()->text(), "  E&xit");
  EXPECT_FALSE(panel.exitButton()->isFlat());
  EXPECT_FALSE(panel.helpButton()->isFlat());
}

// The first page reads the device while the window is made: its not-responding box centres
// on the window as it will be shown, already sized and placed.
TEST_F(PanelTest, FirstPagesBoxCentresOnTheSizedAndPlacedWindow) {
  sim.model.setFault(devsim::Fault::kSilent);
  int boxes = 0;
  QRect windowAtBox;
  QPoint boxCentre;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      ++boxes;
      windowAtBox = MainPanel()->geometry();
      boxCentre = box->geometry().center();
      box->accept();
    }
  });
  timer.start(1);
  CMainPanel panel;
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(windowAtBox, panel.geometry());
  EXPECT_LE((boxCentre - panel.geometry().center()).manhattanLength(), 40);
}

// Enter in a page's field commits the field as leaving it does; the panel stays open. Enter
// on a button still presses it.
TEST_F(PanelTest, EnterInAPageFieldCommitsItAndLeavesThePanelOpen) {
  CMainPanel panel;
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
  auto* settings = static_cast<CSettings*>(PageSheet->page(0));
  auto* discard = settings->controls().find<QLineEdit>(res::settings_ids::kDiscardSize);  // 0 to 30
  discard->setFocus();
  QTest::keyClick(discard, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(discard, QStringLiteral("45"));
  QTest::keyClick(discard, Qt::Key_Return);
  EXPECT_TRUE(panel.isVisible());
  EXPECT_EQ(panel.result(), 0);
  EXPECT_EQ(discard->text(), QStringLiteral("30"));
  EXPECT_EQ(MachineState.SystemSetup.discardSize, 30);

  BoxCloser boxes;
  boxes.answers[QStringLiteral("UnsentEditsQuestion")] = QStringLiteral("Close without sending");
  panel.exitButton()->setFocus();
  QTest::keyClick(panel.exitButton(), Qt::Key_Return);
  EXPECT_EQ(boxes.questions.size(), 1);
  EXPECT_FALSE(panel.isVisible());
  EXPECT_EQ(panel.result(), QDialog::Accepted);
}

TEST_F(PanelTest, OtherModelsShowInformationAndFirmwareWithEnglishMenus) {
  useLanguageFile(
      "[MAIN]\nCAPTION=Panneau\n[MENU]\nFILE_MENU=&Fichier\nIDM_EXIT=Quitter\n"
      "[INFO]\nCAPTION=Informations\n[FWUP]\nCAPTION=Micrologiciel\n");
  MachineState.ModelCode = 0;
  CMainPanel panel;
  ASSERT_EQ(PageSheet->count(), 2);
  EXPECT_EQ(PageSheet->tabText(0), "Informations");
  EXPECT_EQ(PageSheet->tabText(1), "Micrologiciel");
  EXPECT_EQ(TabPicture(0), StripPicture(3));
  EXPECT_EQ(TabPicture(1), StripPicture(4));
  EXPECT_EQ(panel.windowTitle(), "Panneau");
  EXPECT_EQ(panel.menuBar()->actions().value(0)->text(), "&File");
  EXPECT_EQ(res::FindMenuCommand(panel.menuBar(), res::kCmdExit)->text(), "E&xit");
}

TEST_F(PanelTest, FullModelLocalizesTheMenuAndLeavesMissingTextsEmpty) {
  useLanguageFile("[MENU]\nFILE_MENU=&Fichier\nIDM_EXIT=Quitter\n");
  CMainPanel panel;
  EXPECT_EQ(panel.menuBar()->actions().value(0)->text(), "&Fichier");
  EXPECT_EQ(res::FindMenuCommand(panel.menuBar(), res::kCmdExit)->text(), "Quitter");
  EXPECT_EQ(panel.windowTitle(), "");
  EXPECT_EQ(panel.exitButton()->text(), "");
  EXPECT_EQ(PageSheet->tabText(0), "");
}

TEST_F(PanelTest, APageOpenedLaterShowsItsControls) {
  CMainPanel panel;
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  PageSheet->setActivePage(3);
  auto* info = static_cast<TemplatePage*>(PageSheet->page(3));
  ASSERT_TRUE(info->initialized());
  int shown = 0;
  for (qsizetype i = 0; QWidget* control = info->controls().controlAt(i); ++i)
    shown += control->isVisible();
  EXPECT_GT(shown, 5);
  EXPECT_TRUE(panel.exitButton()->isVisible());
}

TEST_F(PanelTest, PhonebookItemsAreUsableOnlyWhileThePhonebookIsShown) {
  CMainPanel panel;
  QAction* load = res::FindMenuCommand(panel.menuBar(), res::kCmdLoadPhonebook);
  QAction* save = res::FindMenuCommand(panel.menuBar(), res::kCmdSavePhonebook);
  ASSERT_TRUE(load && save);
  EXPECT_FALSE(load->isEnabled());
  PageSheet->setActivePage(2);
  EXPECT_EQ(PageSheet->activePage(), PhonebookPage);
  EXPECT_TRUE(load->isEnabled());
  EXPECT_TRUE(save->isEnabled());
  PageSheet->setActivePage(3);
  EXPECT_FALSE(load->isEnabled());
  EXPECT_FALSE(save->isEnabled());
}

// Every page command waits for its answer as long as the device needs and then pauses
// 500 ms before the page goes on: on the fake clock it never takes less than those waits.
TEST_F(PanelTest, EveryPageCommandTakesAtLeastItsWaitsAndThePagePause) {
  const struct {
    const char* name;
    int tab;
    int button;
    uint32_t mandatedMs;
  } rows[] = {
      {"Settings Refresh", 0, res::settings_ids::kRefresh, bench::kGetSettingsMandatedMs},
      {"Settings Apply", 0, res::settings_ids::kApply, bench::kSetSettingsMandatedMs},
      {"Advanced Refresh", 1, res::advanced_ids::kRefresh, bench::kGetAdvancedMandatedMs},
      {"Advanced Apply", 1, res::advanced_ids::kApply, bench::kSetAdvancedMandatedMs},
      {"Phonebook Read", 2, res::phonebook_ids::kRead, bench::kGetPhonebookMandatedMs},
      {"Phonebook Write", 2, res::phonebook_ids::kWrite, bench::kSetPhonebookMandatedMs},
      {"Information Refresh", 3, res::info_ids::kRefresh, bench::kGetInformationMandatedMs},
  };
  BoxCloser boxes;
  CMainPanel panel;
  for (const auto& row : rows) {
    PageSheet->setActivePage(row.tab);
    auto* page = static_cast<TemplatePage*>(PageSheet->page(row.tab));
    const uint32_t start = fake.clock.now;
    QTest::mouseClick(page->controls().find<QPushButton>(row.button), Qt::LeftButton);
    EXPECT_GE(fake.clock.now - start, row.mandatedMs) << row.name;
  }
  EXPECT_EQ(boxes.shown, 0);
}

TEST_F(PanelTest, WindowIsSizedAroundTheSheetWithTheButtonsBelowIt) {
  CMainPanel panel;
  const auto& m = panel.measures();
  EXPECT_EQ(m.sheetWidth, PageSheet->minimumSizeHint().width());
  EXPECT_GE(m.sheetWidth, PageSheet->page(1)->minimumWidth());
  EXPECT_EQ(panel.width(), m.sheetWidth + 30);
  EXPECT_EQ(panel.height() + m.captionHeight,
            m.sheetHeight + 6 * m.fontHeight + m.menuBarHeight + m.captionHeight);
  EXPECT_GT(m.fontHeight, 0);
  EXPECT_GT(m.menuBarHeight, 0);

  const QWidget* client = PageSheet->parentWidget();
  const QRect sheet = PageSheet->geometry();
  EXPECT_EQ(sheet.topLeft(), QPoint(10, 10));
  EXPECT_EQ(panel.width() - 1 - sheet.right(), sheet.left());  // equal side margins
  // The buttons stand where the template puts them.
  const auto units = res::BaseUnits(res::DialogFont(res::kTemplate102));
  EXPECT_EQ(panel.exitButton()->geometry(),
            res::DialogUnitsToPixels(units, QRect(179, 253, 75, 21)));
  EXPECT_EQ(panel.helpButton()->geometry(),
            res::DialogUnitsToPixels(units, QRect(272, 253, 75, 21)));
  for (const QWidget* button :
       {static_cast<QWidget*>(panel.exitButton()), static_cast<QWidget*>(panel.helpButton())}) {
    const QRect area = QRect(button->mapTo(&panel, QPoint(0, 0)), button->size());
    EXPECT_GT(button->geometry().top(), sheet.bottom());
    EXPECT_LE(area.bottom(), panel.height());
    EXPECT_LE(area.right(), panel.width());
    EXPECT_EQ(button->parentWidget(), client);
  }
  EXPECT_FALSE(panel.exitButton()->geometry().intersects(panel.helpButton()->geometry()));
}

TEST_F(PanelTest, F1TheHelpButtonAndHelpContentsAllOpenTheHelp) {
  CMainPanel panel;
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));

  QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &panel;
  QTest::keyClick(focus, Qt::Key_F1);
  QWidget* help = VisibleHelpWindow();
  ASSERT_NE(help, nullptr);
  auto* browser = help->findChild<QTextBrowser*>();
  EXPECT_TRUE(browser->source().toLocalFile().endsWith("vornik.html"));
  EXPECT_TRUE(browser->toPlainText().contains("Remote Control Panel"));
  help->close();
  QApplication::processEvents();

  QTest::mouseClick(panel.helpButton(), Qt::LeftButton);
  ASSERT_NE(VisibleHelpWindow(), nullptr);
  VisibleHelpWindow()->close();
  QApplication::processEvents();

  res::FindMenuCommand(panel.menuBar(), res::kCmdHelpContents)->trigger();
  EXPECT_NE(VisibleHelpWindow(), nullptr);
}

TEST_F(PanelTest, ExitButtonAndFileExitEndTheWindowWithOk) {
  {
    CMainPanel panel;
    panel.show();
    QTest::mouseClick(panel.exitButton(), Qt::LeftButton);
    EXPECT_EQ(panel.result(), QDialog::Accepted);
  }
  CMainPanel panel;
  panel.show();
  res::FindMenuCommand(panel.menuBar(), res::kCmdExit)->trigger();
  EXPECT_EQ(panel.result(), QDialog::Accepted);
  EXPECT_FALSE(panel.isVisible());
}

// The window answers its desktop while a command waits, and a close asked for meanwhile
// (the close box, Exit) is carried out when the command ends, its wait cursor gone: by then
// every byte of a phonebook Write has gone to the device.
TEST_F(PanelTest, CloseAskedForDuringACommandIsCarriedOutWhenItEnds) {
  const struct {
    const char* name;
    std::function<void(CMainPanel&)> ask;
    QDialog::DialogCode result;
  } rows[] = {
      {"close box", [](CMainPanel& panel) { panel.close(); }, QDialog::Rejected},
      {"Exit", [](CMainPanel& panel) { panel.OnExit(); }, QDialog::Accepted},
  };
  platform::Services().waitHook = AnswerDesktop;
  for (const auto& row : rows) {
    size_t written = 0;
    TappedDevice tap;
    tap.onWrite = [&](std::span<const uint8_t> bytes) {
      written += bytes.size();
      return bytes.size();
    };
    fake.devices.add(PortNameTable[kPortEcp1], tap.wrap(sim.factory()));
    BoxCloser boxes;
    CMainPanel panel;
    panel.show();
    PageSheet->setActivePage(2);
    bool askedWithWaitCursor = false, closedWithWaitCursor = true;
    std::optional<size_t> writtenWhenClosed;
    QObject::connect(&panel, &QDialog::finished, [&] {
      writtenWhenClosed = written;
      closedWithWaitCursor = QApplication::overrideCursor() != nullptr;
    });
    QTimer::singleShot(0, &panel, [&] {
      askedWithWaitCursor = QApplication::overrideCursor() != nullptr;
      row.ask(panel);
      EXPECT_TRUE(panel.isVisible()) << row.name;
    });

    QTest::mouseClick(PhonebookPage->controls().find<QPushButton>(res::phonebook_ids::kWrite),
                      Qt::LeftButton);

    EXPECT_TRUE(askedWithWaitCursor) << row.name;
    EXPECT_FALSE(closedWithWaitCursor) << row.name;
    EXPECT_EQ(writtenWhenClosed, written) << row.name;
    EXPECT_GT(written, 6900u) << row.name;  // the whole phonebook frame
    EXPECT_FALSE(panel.isVisible()) << row.name;
    EXPECT_EQ(panel.result(), row.result) << row.name;
    EXPECT_EQ(boxes.shown, 0) << row.name;
  }
}

// A device left with part of an image cannot start again: while the update runs the panel
// can neither close nor leave its page, and every way of trying is refused with a beep.
TEST_F(PanelTest, FirmwareUpdateKeepsThePanelOpenAndOnItsPage) {
  CMainPanel panel;
  panel.show();
  PageSheet->setActivePage(4);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("image.bin"));
  QFile image(path);
  ASSERT_TRUE(image.open(QIODevice::WriteOnly));
  image.write(QByteArray(5000, 'x'));
  image.close();
  {
    FileChooser chooser(path);
    QTest::mouseClick(FwUpPage->controls().find<QPushButton>(res::firmware_ids::kBrowse),
                      Qt::LeftButton);
  }

  QAction* fileMenu = panel.menuBar()->actions().value(0);
  BeepRecorder beeps;
  std::vector<bool> lockedTabs;
  bool tried = false;
  TappedDevice tap;
  tap.onWrite = [&](std::span<const uint8_t> bytes) {
    if (!tried && bytes.size() > 8) {
      tried = true;
      QTest::mouseClick(panel.exitButton(), Qt::LeftButton);
      panel.close();
      QTest::keyClick(PageSheet, Qt::Key_Escape);
      QTest::mouseClick(PageSheet->tabBar(), Qt::LeftButton, {},
                        PageSheet->tabBar()->tabRect(3).center());
      for (int tab = 0; tab < PageSheet->count(); ++tab)
        lockedTabs.push_back(!PageSheet->isTabEnabled(tab));
      EXPECT_FALSE(fileMenu->isEnabled());
    }
    return bytes.size();
  };
  fake.devices.add(PortNameTable[kPortEcp1], tap.wrap(sim.factory()));
  BoxCloser completion;
  QTest::mouseClick(FwUpPage->controls().find<QPushButton>(res::firmware_ids::kUpdate),
                    Qt::LeftButton);

  ASSERT_TRUE(tried);
  EXPECT_EQ(beeps.count, 3);
  EXPECT_THAT(lockedTabs, testing::ElementsAre(true, true, true, true, false));
  EXPECT_EQ(completion.shown, 1);
  EXPECT_TRUE(panel.isVisible());
  EXPECT_EQ(PageSheet->currentIndex(), 4);

  for (int tab = 0; tab < PageSheet->count(); ++tab)
    EXPECT_TRUE(PageSheet->isTabEnabled(tab));
  EXPECT_TRUE(fileMenu->isEnabled());
  QTest::mouseClick(panel.exitButton(), Qt::LeftButton);
  EXPECT_FALSE(panel.isVisible());
  EXPECT_EQ(panel.result(), QDialog::Accepted);
}

// Notes "Write" in `events` for every record write the simulated device takes.
void WatchWrites(devsim::SimulatedDevice& sim, std::vector<std::string>& events) {
  sim.model.setObserver([&events](devsim::Traffic traffic, std::span<const uint8_t> frame) {
    if (traffic == devsim::Traffic::kRequest && frame.size() > 7 && frame[7] == kOpWriteRecord)
      events.push_back("Write");
  });
}

QString UnsentEditsQuestion(const char* pages) {
  return QStringLiteral(
             "UnsentEditsQuestion:Changes on these pages have not been sent to the device yet:"
             "\n\n") +
         QString::fromLatin1(pages);
}

// Exit and the close box close at once when nothing was edited; over an unsent edit they ask
// once, and after "Send now" the panel closes only when the device took the page's record.
TEST_F(PanelTest, ClosingOverUnsentEditsAsksOnceAndClosesOnlyWhenSent) {
  const struct {
    const char* name;
    bool edit;
    bool closeBox;
    const char* answer;
    bool silent;  // the device stops answering before the panel is closed
    bool closed;
    bool written;
    int boxes;  // the not-responding box
  } rows[] = {
      {"nothing edited, Exit", false, false, "", false, true, false, 0},
      {"nothing edited, close box", false, true, "", false, true, false, 0},
      {"Keep open", true, false, "Keep open", false, false, false, 0},
      {"Close without sending", true, true, "Close without sending", false, true, false, 0},
      {"Send now", true, false, "Send now", false, true, true, 0},
      {"Send now, close box", true, true, "Send now", false, true, true, 0},
      {"Send now, device silent", true, false, "Send now", true, false, true, 1},
  };
  std::vector<std::string> events;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    BoxCloser boxes;
    boxes.answers[QStringLiteral("UnsentEditsQuestion")] = QString::fromLatin1(row.answer);
    CMainPanel panel;
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    auto* settings = static_cast<CSettings*>(PageSheet->page(0));
    if (row.edit)
      ChooseItem(settings->controls().find<QComboBox>(res::settings_ids::kTrayPaperSize), 2);
    events.clear();
    WatchWrites(sim, events);
    sim.model.setFault(devsim::Fault::kSilent, row.silent);
    if (row.closeBox)
      panel.close();
    else
      QTest::mouseClick(panel.exitButton(), Qt::LeftButton);
    EXPECT_EQ(boxes.questions,
              row.edit ? QStringList{UnsentEditsQuestion("Settings")} : QStringList{});
    EXPECT_EQ(!panel.isVisible(), row.closed);
    EXPECT_EQ(!events.empty(), row.written);
    EXPECT_EQ(boxes.shown, row.boxes);
    EXPECT_EQ(settings->hasUnsentEdits(), row.edit && !(row.written && row.closed));
    sim.model.setFault(devsim::Fault::kSilent, false);
  }
}

// Edit a phonebook entry, press Exit and choose "Send now": the Write reaches the device
// before the panel ends.
TEST_F(PanelTest, SendNowWritesTheEditedPhonebookBeforeThePanelEnds) {
  std::vector<std::string> events;
  BoxCloser boxes;
  boxes.answers[QStringLiteral("UnsentEditsQuestion")] = QStringLiteral("Send now");
  CMainPanel panel;
  panel.show();
  PageSheet->setActivePage(2);
  QTimer dialogWatch;
  QObject::connect(&dialogWatch, &QTimer::timeout, [] {
    if (auto* dialog = qobject_cast<CEditPhonebook*>(QApplication::activeModalWidget())) {
      dialog->nameEdit()->selectAll();
      QTest::keyClicks(dialog->nameEdit(), QStringLiteral("front office"));
      QTest::mouseClick(dialog->controls().find<QPushButton>(res::kIdOk), Qt::LeftButton);
    }
  });
  dialogWatch.start(1);
  PhonebookPage->list()->setCurrentItem(PhonebookPage->list()->topLevelItem(0));
  PhonebookPage->editEntry();
  dialogWatch.stop();

  WatchWrites(sim, events);
  QObject::connect(&panel, &QDialog::finished, [&] { events.push_back("panel ended"); });
  QTest::mouseClick(panel.exitButton(), Qt::LeftButton);
  EXPECT_THAT(events, testing::ElementsAre("Write", "panel ended"));
  EXPECT_EQ(boxes.questions, QStringList{UnsentEditsQuestion("Phonebook")});
  EXPECT_EQ(EntryName(PhonebookStore.entries.at(0)), "FRONT OFFICE");
}

// A change in any field, list, check box, radio button, picker or arrows is an unsent edit
// until Apply sends it, and the status line then says so.
TEST_F(PanelTest, EveryKindOfControlMakesAnUnsentEditUntilApplySendsIt) {
  const struct {
    const char* name;
    int tab;
    int control;
    Qt::Key key;
  } rows[] = {
      {"list", 0, res::settings_ids::kPaperType, Qt::Key_Down},
      {"check box", 0, res::settings_ids::kAutoJournal, Qt::Key_Space},
      {"number field", 0, res::settings_ids::kDiscardSize, Qt::Key_Backspace},
      {"arrows", 0, res::settings_ids::kDiscardSizeArrows, Qt::Key_Up},
      {"radio button", 1, res::advanced_ids::kTollSaverOn, Qt::Key_Space},
      {"picker", 1, res::advanced_ids::kTollStartDate, Qt::Key_Up},
      {"text field", 1, res::advanced_ids::kMachineId, Qt::Key_X},
  };
  BoxCloser boxes;
  CMainPanel panel;
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    PageSheet->setActivePage(row.tab);
    auto* page = static_cast<TemplatePage*>(PageSheet->page(row.tab));
    EXPECT_FALSE(page->hasUnsentEdits());
    QTest::keyClick(page->controls().control(row.control), row.key);
    EXPECT_TRUE(page->hasUnsentEdits());
    const int apply = row.tab == 0 ? res::settings_ids::kApply : res::advanced_ids::kApply;
    QTest::mouseClick(page->controls().find<QPushButton>(apply), Qt::LeftButton);
    EXPECT_FALSE(page->hasUnsentEdits());
    EXPECT_THAT(
        page->controls().find<QLabel>(res::kStatusLine)->text().toStdString(),
        testing::MatchesRegex("Sent to the device \u2013 [0-2][0-9]:[0-5][0-9]:[0-5][0-9]"));
  }
  EXPECT_EQ(boxes.shown, 0);
}

// Read, Refresh and Load over unsent edits ask first: kept, nothing is read; replaced, the
// page shows what was read and holds no edit.
TEST_F(PanelTest, ReadingOverUnsentEditsAsksFirst) {
  QTemporaryDir dir;
  const QString phonebook = dir.filePath(QStringLiteral("BACKUP.PBF"));
  const QString setup = dir.filePath(QStringLiteral("SETUP.STF"));
  const struct {
    const char* name;
    int tab;
    int button;  // or a File menu command and its file
    void (CMainPanel::*load)();
    const QString& file;
  } rows[] = {
      {"Settings Refresh", 0, res::settings_ids::kRefresh, nullptr, setup},
      {"Advanced Refresh", 1, res::advanced_ids::kRefresh, nullptr, setup},
      {"Phonebook Read", 2, res::phonebook_ids::kRead, nullptr, setup},
      {"Load Phonebook", 2, 0, &CMainPanel::OnLoadPhonebook, phonebook},
      {"Load Settings", 1, 0, &CMainPanel::OnLoadSettings, setup},
  };
  CMainPanel panel;
  panel.show();
  PageSheet->setActivePage(2);
  ASSERT_EQ(WritePhonebookFile(phonebook.toStdString()), 1);
  ASSERT_EQ(SettingsFileStep(setup.toStdString(), SettingsFileAction::kSave),
            SettingsFileResult::kDone);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    PageSheet->setActivePage(row.tab);
    auto* page = static_cast<TemplatePage*>(PageSheet->page(row.tab));
    for (const char* answer : {"Keep my changes", "Replace my changes"}) {
      SCOPED_TRACE(answer);
      BoxCloser boxes;
      boxes.answers[QStringLiteral("ReplaceEditsQuestion")] = QString::fromLatin1(answer);
      page->markEdited();
      const uint32_t start = fake.clock.now;
      if (row.button != 0) {
        QTest::mouseClick(page->controls().find<QPushButton>(row.button), Qt::LeftButton);
      } else {
        FileChooser chooser(row.file);
        (panel.*row.load)();
      }
      EXPECT_EQ(boxes.questions,
                QStringList{QStringLiteral("ReplaceEditsQuestion:Changes that have not been sent "
                                           "to the device yet will be replaced by what is read "
                                           "now.")});
      const bool replaced = answer[0] == 'R';
      EXPECT_EQ(page->hasUnsentEdits(), !replaced);
      EXPECT_EQ(fake.clock.now != start, replaced && row.button != 0);
    }
  }
}

}  // namespace
}  // namespace vornik::test
