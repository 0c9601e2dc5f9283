// A window test of the main window: the fake platform with the program folder of the
// build (language files, help page), the simulated device on the ECP port, and a chosen
// model code.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include "devsim/simulated_device.h"
#include "lang/lang_text.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"
#include "platform/fake_platform.h"

namespace vornik::test {

class PanelTest : public testing::Test {
 protected:
  PanelTest() {
    Connection = ConnectionState{};
    Connection.PortKind = kPortEcp1;
    Connection.osFlavour = OsFlavour::Nt5;
    DefaultMachineState();
    AllocatePhonebookStore();
    fake.devices.add(PortNameTable[kPortEcp1], sim.factory());
    useProgramDirectory(VORNIK_PROGRAM_DIR);
  }
  ~PanelTest() override {
    FreePhonebookStore();
    for (QWidget* window : QApplication::topLevelWidgets())
      window->close();
  }

  void useProgramDirectory(const QString& dir) {
    fake.system.path = QDir(dir).filePath(QStringLiteral("vornik")).toStdString();
    ChooseLanguageFile();
  }

  // A program folder of its own with a language file holding `text`.
  void useLanguageFile(const QByteArray& text) {
    QFile ini(languageDir.filePath(QStringLiteral("vornik.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[LANGUAGE]\nFILE=test.lng\n");
    ini.close();
    QFile lng(languageDir.filePath(QStringLiteral("test.lng")));
    ASSERT_TRUE(lng.open(QIODevice::WriteOnly));
    lng.write(text);
    lng.close();
    useProgramDirectory(languageDir.path());
  }

  platform::FakePlatform fake;
  devsim::SimulatedDevice sim;
  QTemporaryDir languageDir;
};

}  // namespace vornik::test
