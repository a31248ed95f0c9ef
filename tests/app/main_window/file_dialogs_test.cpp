// Every file dialog of the editor as a person meets it: Qt's own dialog over a
// folder of real files, the type picked in its list and the name typed.
#include <QComboBox>
#include <QCompleter>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QHeaderView>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTreeView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/main_window/window_parts.h"
#include "app/panels/description_model.h"
#include "app/wizards/import_wizard.h"
#include "app/wizards/sql_export_wizard.h"
#include "app/app_test_support.h"
#include "base/file_io.h"
#include "formats/midnight_map.h"
#include "formats/preview_image.h"
#include "formats/project_file.h"
#include "model/descriptions.h"
#include "project/project.h"

namespace mireforge::testing {
namespace {

// Scripted questions, but the real file dialogs.
class RealFileDialogs : public ScriptedPrompts {
 public:
  FileChoice SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& extension) override {
    return real.SaveFile(parent, title, filter, extension);
  }
  FileChoice OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& extension) override {
    return real.OpenFile(parent, title, filter, extension);
  }
  DialogPrompts real;
};

// What a dialog shows: its types, and the files listed (enabled) under each.
struct Seen {
  QStringList types;
  std::map<QString, QStringList> listed;
  bool accepted = false;
};

class FileDialogTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    folder = File("files");
    ASSERT_TRUE(QDir().mkpath(folder));
    Project sample;
    sample.Map.ResizeMap(6, 5);
    sample.Map.FillTerrain(FrozenWastes, true);
    sample.Map.FillTerrain(Forest, false);
    BuildDefaultDescriptions(sample.Descriptions, sample.Map);
    SaveProject(sample, In("castle.mfp"), {});
    WriteMidnightMap(In("land.php"), sample.Map, false);
    SavePreviewImage(In("shot.png"), PictureFileType::Png, sample.Map);
    SavePreviewImage(In("shot2.bmp"), PictureFileType::Bitmap, sample.Map);
    for (const char* name : {"notes.txt", "data.sql", "page.html", "readme"}) {
      QFile file(folder + "/" + name);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write("text\r\n");
    }
  }

  std::string In(const QString& name) const { return (folder + "/" + name).toStdString(); }

  void StartWithRealDialogs() {
    window = std::make_unique<TfMain>(iniPath, dialogs);
    window->resize(1000, 700);
    window->show();
    QApplication::processEvents();
  }

  static QComboBox* Types(QFileDialog* d) { return d->findChild<QComboBox*>("fileTypeCombo"); }
  static QLineEdit* NameEdit(QFileDialog* d) { return d->findChild<QLineEdit*>("fileNameEdit"); }

  // Types text into the file name field and presses Enter, as a person does.
  static void Type(QFileDialog* d, const QString& text) {
    QLineEdit* edit = NameEdit(d);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }

  // Picks a type in the dialog's list with the arrow keys.
  static void PickType(QFileDialog* d, const QString& caption) {
    QComboBox* types = Types(d);
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Home);
    for (int i = 0; i < types->count() && types->currentText() != caption; ++i) QTest::keyClick(types, Qt::Key_Down);
  }

  // The enabled entries of the folder shown, once done says so or two seconds passed.
  static QStringList Listed(QFileDialog* d, const std::function<bool(const QStringList&)>& done) {
    auto* view = d->findChild<QListView*>("listView");
    QStringList names;
    QElapsedTimer clock;
    clock.start();
    do {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
      names.clear();
      const QAbstractItemModel* model = view->model();
      const QModelIndex root = view->rootIndex();
      for (int row = 0; row < model->rowCount(root); ++row) {
        const QModelIndex index = model->index(row, 0, root);
        if (model->flags(index) & Qt::ItemIsEnabled) names << index.data().toString();
      }
      names.sort();
    } while (!done(names) && clock.elapsed() < 2000);
    return names;
  }

  // Runs command, opens the folder in its dialog, looks at every type's listing, then either
  // types name under the type chosen or cancels.
  Seen Run(const std::function<void()>& command, const std::map<QString, QStringList>& expected,
           const QString& type = {}, const QString& name = {}) {
    Seen seen;
    OnModal<QFileDialog>([&](QFileDialog* d) {
      for (int i = 0; i < Types(d)->count(); ++i) seen.types << Types(d)->itemText(i);
      d->setDirectory(folder);
      for (const auto& [caption, files] : expected) {
        PickType(d, caption);
        seen.listed[caption] = Listed(d, [&files](const QStringList& names) { return names == files; });
      }
      if (name.isEmpty()) {
        QTest::keyClick(d, Qt::Key_Escape);
        return;
      }
      PickType(d, type);
      Type(d, name);
      seen.accepted = d->result() == QDialog::Accepted;
    });
    command();
    return seen;
  }

  void ExpectListings(const Seen& seen, const QStringList& types, const std::map<QString, QStringList>& expected) {
    EXPECT_EQ(seen.types.join(" | ").toStdString(), types.join(" | ").toStdString());
    for (const auto& [caption, files] : expected)
      EXPECT_EQ(seen.listed.at(caption).join(", ").toStdString(), files.join(", ").toStdString())
          << caption.toStdString();
  }

  void MakeMap() {
    Project& project = window->CurrentProject();
    project.Map.ResizeMap(8, 6);
    project.Map.FillTerrain(FrozenWastes, true);
    project.Map.FillTerrain(Downs, false);
    BuildDefaultDescriptions(project.Descriptions, project.Map);
    window->RefreshMap("Created from file");
  }

  RealFileDialogs dialogs;
  QString folder;
};

const QStringList Pictures{"shot.png", "shot2.bmp"};

TEST_F(FileDialogTest, EveryOpenDialogListsTheFilesOfItsTypes) {
  StartWithRealDialogs();
  window->CurrentProject().ProjectSaved = true;
  const std::map<QString, QStringList> project{{"Mireforge project file (*.mfp)", {"castle.mfp"}}};
  ExpectListings(Run([&] { PartOf<QAction>(*window, "aLoadProject")->trigger(); }, project), {"Mireforge project file (*.mfp)"}, project);

  // Names are enough for the listing; they go again before the other dialogs look.
  for (const char* name : {"tiles.tmx", "tiles.tmj", "rows.csv"}) WriteMidnightMap(In(name), MapGrid(), false);
  const std::map<QString, QStringList> map{{"Midnight/MU map script file (*.php)", {"land.php"}},
                                           {"Tiled map (*.tmx; *.tmj)", {"tiles.tmj", "tiles.tmx"}},
                                           {"CSV map (*.csv)", {"rows.csv"}},
                                           {"All supported formats", {"land.php", "rows.csv", "tiles.tmj", "tiles.tmx"}}};
  ExpectListings(Run([&] { PartOf<QAction>(*window, "aLoadMMU")->trigger(); }, map),
                 {"Midnight/MU map script file (*.php)", "Tiled map (*.tmx; *.tmj)", "CSV map (*.csv)", "All supported formats"},
                 map);
  for (const char* name : {"tiles.tmx", "tiles.tmj", "rows.csv"}) QFile::remove(folder + "/" + name);

  const std::map<QString, QStringList> preview{{"Windows bitmap (*.bmp)", {"shot2.bmp"}},
                                               {"PNG image (*.png)", {"shot.png"}},
                                               {"All supported formats", Pictures}};
  ExpectListings(Run([&] { PartOf<QAction>(*window, "aLoadPreview")->trigger(); }, preview),
                 {"Windows bitmap (*.bmp)", "PNG image (*.png)", "All supported formats"}, preview);

  TfImportMap wizard(window->CurrentProject(), dialogs, window.get());
  wizard.show();
  wizard.bNext->click();
  const std::map<QString, QStringList> picture{
      {"All supported formats (*.png; *.bmp)", Pictures},
      {"PNG format (*.png)", {"shot.png"}},
      {"BMP format (*.bmp)", {"shot2.bmp"}},
      {"All files (*.*)",
       {"castle.mfp", "data.sql", "land.php", "notes.txt", "page.html", "readme", "shot.png", "shot2.bmp"}}};
  ExpectListings(Run([&] { QTest::mouseClick(wizard.bexFolderButton, Qt::LeftButton); }, picture),
                 {"All supported formats (*.png; *.bmp)", "PNG format (*.png)", "BMP format (*.bmp)", "All files (*.*)"},
                 picture);
  // And the picture chosen there is the one loaded.
  Run([&] { QTest::mouseClick(wizard.bexFolderButton, Qt::LeftButton); }, {}, "PNG format (*.png)", "shot");
  EXPECT_EQ(wizard.bexFolder->text(), folder + "/shot.png");
  EXPECT_EQ(wizard.PictureImage().Width, 6);
}

TEST_F(FileDialogTest, ATypedNameTakesTheExtensionOfTheChosenType) {
  StartWithRealDialogs();
  MakeMap();
  const std::map<QString, QStringList> preview{{"Windows bitmap (*.bmp)", {"shot2.bmp"}},
                                               {"PNG image (*.png)", {"shot.png"}}};
  const QStringList pictureTypes{"Windows bitmap (*.bmp)", "PNG image (*.png)"};
  Seen seen = Run([&] { PartOf<QAction>(*window, "aSavePreview")->trigger(); }, preview, "PNG image (*.png)", "pv2");
  ExpectListings(seen, pictureTypes, preview);
  EXPECT_TRUE(seen.accepted);
  EXPECT_FALSE(QFileInfo::exists(folder + "/pv2.bmp"));
  MapGrid back;
  LoadPreviewImage(In("pv2.png"), back);  // PNG data under a PNG name, so it reads back
  EXPECT_EQ(back.Width, 8);
  Run([&] { PartOf<QAction>(*window, "aSavePreview")->trigger(); }, {}, "Windows bitmap (*.bmp)", "pv3");
  LoadPreviewImage(In("pv3.bmp"), back);
  EXPECT_EQ(back.Height, 6);

  const std::map<QString, QStringList> pictures{{"Windows bitmap (*.bmp)", {"pv3.bmp", "shot2.bmp"}},
                                                {"PNG image (*.png)", {"pv2.png", "shot.png"}}};
  seen = Run([&] { PartOf<QAction>(*window, "aSaveMap")->trigger(); }, pictures, "PNG image (*.png)", "whole");
  ExpectListings(seen, pictureTypes, pictures);
  QFile image(folder + "/whole.png");
  ASSERT_TRUE(image.open(QIODevice::ReadOnly));
  EXPECT_TRUE(image.read(8).startsWith("\x89PNG"));

  const std::map<QString, QStringList> mmu{{"Midnight/MU Map File (*.php)", {"land.php"}}};
  ExpectListings(Run([&] { PartOf<QAction>(*window, "aSaveMMU")->trigger(); }, mmu, "Midnight/MU Map File (*.php)", "level"),
                 {"Midnight/MU Map File (*.php)"}, mmu);
  EXPECT_TRUE(QFileInfo::exists(folder + "/level.php"));

  Run([&] { PartOf<QAction>(*window, "aSaveProject")->trigger(); }, {}, "Mireforge project file (*.mfp)", "keep");
  EXPECT_TRUE(QFileInfo::exists(folder + "/keep.mfp"));

  const std::map<QString, QStringList> html{{"HTML map File (*.html)", {"page.html"}}};
  ExpectListings(Run([&] { PartOf<QAction>(*window, "aSaveHTML")->trigger(); }, html, "HTML map File (*.html)", "atlas"),
                 {"HTML map File (*.html)"}, html);
  EXPECT_TRUE(QFileInfo::exists(folder + "/atlas.html"));

  TfSQLEx sql(window->CurrentProject(), dialogs, false, true);
  sql.show();
  sql.bNext->click();
  const std::map<QString, QStringList> scripts{{"SQL script file (*.sql)", {"data.sql"}},
                                               {"Plain text file (*.txt)", {"notes.txt"}}};
  seen = Run([&] { sql.bNext->click(); }, scripts, "Plain text file (*.txt)", "script");
  ExpectListings(seen, {"SQL script file (*.sql)", "Plain text file (*.txt)"}, scripts);
  EXPECT_TRUE(QFileInfo::exists(folder + "/script.txt"));
  EXPECT_FALSE(QFileInfo::exists(folder + "/script.sql"));
}

// A typed folder that does not exist is named as such, and the dialog stays
// open for a better name.
TEST_F(FileDialogTest, AMissingFolderIsSaidSo) {
  StartWithRealDialogs();
  MakeMap();
  QString warning;
  bool stillOpen = false;
  OnModal<QFileDialog>([&](QFileDialog* d) {
    OnModal<QMessageBox>([&](QMessageBox* box) {
      warning = box->text();
      QTest::keyClick(box, Qt::Key_Return);
    });
    Type(d, folder + "/missing/");
    stillOpen = d->isVisible();
    QTest::keyClick(d, Qt::Key_Escape);
  });
  PartOf<QAction>(*window, "aSavePreview")->trigger();
  EXPECT_EQ(warning, "The folder " + QDir::toNativeSeparators(folder + "/missing") + " does not exist.");
  EXPECT_TRUE(stillOpen);
  EXPECT_FALSE(QFileInfo::exists(folder + "/missing"));
  EXPECT_FALSE(QFileInfo::exists(folder + "/missing/.bmp"));
}

// In its detail view every column of the file list shows whole.
TEST_F(FileDialogTest, TheDialogOpensWideEnoughForItsColumns) {
  StartWithRealDialogs();
  MakeMap();
  int shown = 0, room = 0, columns = 0;
  OnModal<QFileDialog>([&](QFileDialog* d) {
    QTest::mouseClick(d->findChild<QToolButton*>("detailModeButton"), Qt::LeftButton);
    QApplication::processEvents();
    auto* view = d->findChild<QTreeView*>("treeView");
    QHeaderView* header = view->header();
    columns = header->count();
    for (int i = 0; i < header->count(); ++i) shown = std::max(shown, header->sectionPosition(i) + header->sectionSize(i));
    room = view->viewport()->width();
    QTest::keyClick(d, Qt::Key_Escape);
  });
  PartOf<QAction>(*window, "aSavePreview")->trigger();
  EXPECT_EQ(columns, 4);
  EXPECT_LE(shown, room);
}

// Out through the Program menu's entry, back through the open command, both in
// Qt's own dialog: terrain, descriptions and domains survive, and the question
// about unsaved changes comes before the dialog.
TEST_F(FileDialogTest, TiledMapsGoOutByTheProgramMenuAndComeBackByTheOpenCommand) {
  StartWithRealDialogs();
  MakeMap();
  Project& project = window->CurrentProject();
  project.SetTerrain(3, 2, Mountains);
  project.CellDescription(2, 2)->Text = "Tower of <Doom> & \"more\"";
  project.CellDescription(4, 3)->Domain = 4;
  project.Domains.Slots[4] = {0x00FF00, "Marsh"};
  const Project exported = project;

  QMenuBar* bar = window->menuBar();
  QMenu* program = bar->actions().front()->menu();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(program->menuAction()).center());
  ASSERT_TRUE(QTest::qWaitFor([&] { return program->isVisible(); }));
  QAction* entry = nullptr;
  for (QAction* action : program->actions())
    if (action->text() == "Export as Tiled map...") entry = action;
  ASSERT_TRUE(entry);
  ASSERT_TRUE(entry->isEnabled());
  WriteMidnightMap(In("old.tmx"), project.Map, false);
  const std::map<QString, QStringList> maps{{"Tiled map (*.tmx)", {"old.tmx"}}, {"Tiled JSON map (*.tmj)", {}}};
  Seen seen = Run([&] { QTest::mouseClick(program, Qt::LeftButton, {}, program->actionGeometry(entry).center()); },
                  maps, "Tiled JSON map (*.tmj)", "world");
  ExpectListings(seen, {"Tiled map (*.tmx)", "Tiled JSON map (*.tmj)"}, maps);
  ASSERT_TRUE(seen.accepted);
  for (const char* name : {"world.tmj", "world-domains.png", "mireforge-terrain.tsx", "mireforge-terrain.png"})
    EXPECT_TRUE(QFileInfo::exists(folder + "/" + name)) << name;
  EXPECT_FALSE(QFileInfo::exists(folder + "/world.tmx"));

  // Changed since, so the open command asks first; "No" drops the changes.
  project.SetTerrain(1, 1, Lake);
  project.ProjectSaved = false;
  dialogs.answers = {Answer::No};
  int questionsBeforeDialog = -1;
  OnModal<QFileDialog>([&](QFileDialog*) { questionsBeforeDialog = static_cast<int>(dialogs.questions.size()); });
  Run([&] { PartOf<QAction>(*window, "aLoadMMU")->trigger(); }, {}, "Tiled map (*.tmx; *.tmj)", "world.tmj");
  EXPECT_EQ(questionsBeforeDialog, 1);
  ASSERT_EQ(dialogs.questions.size(), 1);
  EXPECT_EQ(dialogs.questions.front().toStdString(), "Do you want to save changes you made to current project?");
  const Project& back = window->CurrentProject();
  EXPECT_EQ(back.Map.Cells, exported.Map.Cells);
  EXPECT_EQ(back.CellDescription(2, 2)->Text, "Tower of <Doom> & \"more\"");
  EXPECT_EQ(back.CellDescription(3, 2)->Text, "mountains");
  EXPECT_EQ(back.CellDescription(4, 3)->Domain, 4);
  EXPECT_EQ(back.Domains.Slots[4].Name, "Marsh");
  EXPECT_EQ(back.Domains.Slots[4].Color, 0x00FF00);
  EXPECT_EQ(window->StatusText(1), "Created from file");
  EXPECT_EQ(PartOf<DescriptionModel>(*window, "descModel")->rowCount(), static_cast<int>(back.Map.Cells.size()));
}

// Ends the test program when the editor is still stuck after a minute: a frozen
// event loop cannot report anything itself.
class Watchdog {
 public:
  explicit Watchdog(const char* what)
      : thread_([this, what] {
          std::unique_lock lock(mutex_);
          if (!done_.wait_for(lock, std::chrono::seconds(60), [this] { return finished_; })) {
            std::fprintf(stderr, "frozen: %s\n", what);
            std::_Exit(1);
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    done_.notify_one();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

TEST_F(FileDialogTest, TypingASpecialFolderKeepsTheEditorResponsive) {
  if (!QFileInfo::exists("/proc/self")) GTEST_SKIP() << "no /proc here";
  StartWithRealDialogs();
  MakeMap();
  Watchdog watchdog("typing /proc/ into a save dialog");
  int ticks = 0;
  bool listed = false;
  OnModal<QFileDialog>([&](QFileDialog* d) {
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
    heartbeat.start(10);
    QLineEdit* edit = NameEdit(d);
    edit->setFocus();
    QTest::keyClicks(edit, "/proc/");
    // The completer lists the folder as the user types.
    QCompleter* completer = edit->completer();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000 && !listed) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
      listed = completer != nullptr && completer->completionCount() > 20;
    }
    QTest::keyClicks(edit, "s");
    ticks = 0;
    clock.restart();
    while (clock.elapsed() < 1500) QApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::keyClick(d, Qt::Key_Escape);
  });
  PartOf<QAction>(*window, "aSaveMMU")->trigger();
  EXPECT_TRUE(listed) << "the dialog showed the folder";
  EXPECT_GE(ticks, 3) << "the event loop went on after the typing";
}


// A pipe chosen as the place to save is asked about; one that no program reads is refused at once.
TEST_F(FileDialogTest, ASaveIntoAPipeIsAskedAboutAndNeverWaitsForAReader) {
  StartWithRealDialogs();
  MakeMap();
  SetDeviceWriteWait(std::chrono::seconds(2));  // as the editor's start sets it
  const QString pipe = folder + "/pipe.php";
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  Watchdog watchdog("saving into a pipe");
  QStringList asked;
  bool stillOpen = false;
  const auto answer = [&asked](QMessageBox::StandardButton button) {
    OnModal<QMessageBox>([&asked, button](QMessageBox* box) {
      asked << box->text();
      QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
  };
  // Typed as a person types it: the first Return takes the completion the dialog offers.
  const auto typePipe = [&](QFileDialog* d) {
    const auto before = asked.size();
    d->setDirectory(folder);
    Type(d, "pipe.php");
    if (d->isVisible() && asked.size() == before) QTest::keyClick(NameEdit(d), Qt::Key_Return);
  };
  OnModal<QFileDialog>([&](QFileDialog* d) {
    answer(QMessageBox::No);
    typePipe(d);
    stillOpen = d->isVisible();
    answer(QMessageBox::Yes);
    typePipe(d);
  });
  PartOf<QAction>(*window, "aSaveMMU")->trigger();
  EXPECT_TRUE(stillOpen) << "No goes back to the dialog";
  ASSERT_EQ(asked.size(), 2);
  EXPECT_EQ(asked[0], pipe + " is not a file but a pipe or a device: what is saved goes to the program or device "
                             "behind it.\nSave into it?");
  EXPECT_EQ(dialogs.errors.join("|"), "Cannot create file " + pipe + ": no program is reading from this pipe");

  // With a program reading, the map goes to it.
  std::string received;
  std::thread reader([&received, name = QFile::encodeName(pipe)] {
    const int fd = ::open(name.constData(), O_RDONLY);
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) received.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the reader waits in its open
  OnModal<QFileDialog>([&](QFileDialog* d) {
    answer(QMessageBox::Yes);
    typePipe(d);
  });
  PartOf<QAction>(*window, "aSaveMMU")->trigger();
  // Should the save have failed, a writer's open ends the reader's wait.
  const int unblock = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
  if (unblock >= 0) ::close(unblock);
  reader.join();
  SetDeviceWriteWait(std::chrono::seconds(0));
  EXPECT_EQ(dialogs.errors.size(), 1);
  EXPECT_EQ(received.substr(0, 7), "<?php\r\n");
}


// Qt's dialog cannot show a name that is not text: the rest of the folder shows, and the file is
// offered below it, where a double click opens it.
TEST_F(FileDialogTest, AFileWhoseNameIsNotTextOpensFromTheDialog) {
  StartWithRealDialogs();
  Project sample;
  sample.Map.ResizeMap(7, 4);
  sample.Map.FillTerrain(Forest, false);
  BuildDefaultDescriptions(sample.Descriptions, sample.Map);
  const std::string latin1 = In("caf") + "\xE9.mfp";
  SaveProject(sample, latin1, {});
  QStringList listed, offered;
  OnModal<QFileDialog>([&](QFileDialog* d) {
    d->setDirectory(folder);
    listed = Listed(d, [](const QStringList& names) { return names.contains("castle.mfp"); });
    auto* unlisted = d->findChild<QListWidget*>("unlistedNames");
    if (!unlisted || unlisted->count() == 0) return QTest::keyClick(d, Qt::Key_Escape);
    for (int i = 0; i < unlisted->count(); ++i) offered << unlisted->item(i)->text();
    const QPoint at = unlisted->visualItemRect(unlisted->item(0)).center();
    QTest::mouseClick(unlisted->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(unlisted->viewport(), Qt::LeftButton, {}, at);
  });
  PartOf<QAction>(*window, "aLoadProject")->trigger();
  EXPECT_EQ(listed.join(", ").toStdString(), "castle.mfp");
  EXPECT_EQ(offered.join(", "), QString("caf\uFFFD.mfp"));
  EXPECT_EQ(window->CurrentProject().ProjectFileName, latin1);
  EXPECT_EQ(window->CurrentProject().Map.Width, 7);
  EXPECT_EQ(window->windowTitle(), QString("Mireforge - caf\uFFFD.mfp"));
  EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("|").toStdString();
}

}  // namespace
}  // namespace mireforge::testing
