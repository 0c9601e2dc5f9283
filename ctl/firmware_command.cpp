#include "ctl/firmware_command.h"

#include "ctl/exit_status.h"
#include "ctl/progress_bar.h"
#include "info/firmware_download.h"
#include "link/connection.h"

namespace vornik::ctl {
namespace {

class BarProgress : public FirmwareProgress {
 public:
  explicit BarProgress(CtlIo& io) : io_(io), bar_(io.out, io.outIsTerminal, "firmware") {}

  void transferStarting() override { bar_.show(0); }
  void blockSent(uint64_t /*sent*/, int percent) override { bar_.show(percent); }
  void writingComplete() override {
    bar_.end();
    io_.say("Writing complete. Do not turn off until your machine is initialized.");
  }

 private:
  CtlIo& io_;
  ProgressBar bar_;
};

}  // namespace

int RunFirmware(const CtlRequest& request, CtlIo& io) {
  if (!FirmwareFileSize(request.path))
    throw CtlFailure(kExitFileError, "cannot read the firmware file " + request.path);
  DeviceSession session(request.port);
  FirmwareResult result;
  {
    BarProgress progress(io);
    result = Connection.PortKind == kPortEcp1 ? DownloadFirmwareEcp(request.path, progress)
                                              : DownloadFirmware(request.path, progress);
  }
  switch (result) {
    case FirmwareResult::kFileNotOpened:
      throw CtlFailure(kExitFileError, "cannot read the firmware file " + request.path);
    case FirmwareResult::kFailed:
      throw CtlFailure(kExitNotResponding, "Failed to write data.");
    case FirmwareResult::kCompleted:
      break;
  }
  io.say("Update Complete!");
  return kExitOk;
}

}  // namespace vornik::ctl
