// Opening any text as an SVG document with the plug-in started: the
// plug-in objects read in are brought up to date, the document must stay
// sound, what the host writes must open again and write the same bytes,
// its seam-free copy must open as plain art, and the plug-in must leave
// nothing behind. A failure aborts, naming what was found.

#include <cstddef>
#include <cstdint>

#include "ModuleFuzzing.h"
#include "hostcore/Invariants.h"
#include "hostfiles/SvgDocument.h"
#include "hostvalidate/Trial.h"

namespace {

void expectSound(hostcore::Document& document, const char* when) {
  const std::vector<std::string> faults = hostcore::checkDocument(document);
  if (!faults.empty()) fail(std::string(when) + ": " + faults.front());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  moduleLoader();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // Whether a file opens does not depend on the plug-in, so most inputs,
  // which do not, are refused by a host without it, which is much cheaper
  // to make than one with the plug-in started.
  {
    hostcore::HostCore bare;
    if (!hostfiles::readSvg(bare, text, "fuzz.svg")) return 0;
  }
  hostvalidate::Trial trial({moduleLoader(), MIRTIL_MODULE_PATH});
  if (trial.startupAnswer() != kNoErr) fail("start-up failed");
  hostcore::HostCore& core = trial.host().core();
  const hostfiles::Outcome read = hostfiles::readSvg(core, text, "fuzz.svg");
  if (!read) fail("a file a host without the plug-in opens is refused with it: " + read.error);
  expectSound(trial.document(), "read");
  trial.host().updatePluginArt();
  expectSound(trial.document(), "updated");
  hostcore::HostCore plain;
  const std::string exported = hostfiles::writeSeamFreeSvg(core, hostfiles::kSeamFreeOverlap);
  const hostfiles::Outcome copy = hostfiles::readSvg(plain, exported, "seam-free.svg");
  if (!copy) fail("the seam-free copy does not open: " + copy.error + "\n" + exported);
  if (!plain.document().dirtyPluginArt().empty()) fail("the seam-free copy opens as live objects:\n" + exported);
  expectSound(plain.document(), "seam-free copy read");
  const std::string written = hostfiles::writeSvg(core);
  const hostfiles::Outcome again = hostfiles::readSvg(core, written, "written.svg");
  if (!again) fail("the host's own file does not open again: " + again.error + "\n" + written);
  if (hostfiles::writeSvg(core) != written) fail("the file read back writes other bytes:\n" + written);
  for (const std::string& held : trial.heldReferences()) fail(held);
  for (const std::string& left : trial.finish()) fail(left);
  return 0;
}
