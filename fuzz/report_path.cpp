// The monitor's report path, from the real portable elements with the settings of
// app/monitor_form.cpp and the links of app/monitor_links.cpp; the Win32 ends (memos, graphs,
// the end-of-charge box and the port's closing) are End probes. Any bytes are one reply as the
// serial port raises it. What reaches the ends, in order, must be what a direct computation
// gives: the cut and pointed texts, their values as the text-to-real model reads them, and the
// end of charge for seven leading zeros.
//
//   reply -> ReportHub [0] TemperatureCut Delete(1, 4) -> TemperaturePoint Insert(".", 3)
//                             -> TemperatureHub [0] TemperatureGraph [1] TemperatureMemo
//                      [1] VoltageCut Delete(5, 3) -> VoltageHub [0] VoltagePoint Insert(".", 2)
//                             -> VoltageMemo, [1] VoltageGraph
//                      [2] EndMask "0000000*", IgnoreCase 1 -> EndHub [0] EndMessage [1] CloseHub

#include <algorithm>
#include <string>
#include <vector>

#include "conversion_models.h"
#include "fuzz_support.h"
#include "hub.h"
#include "insert_delete.h"
#include "str_mask.h"

namespace {

std::vector<std::string> journal;  // "end:value" for what reached each end, in order

std::string Point(double y) { return std::to_string(model::Bits(y)); }

// Reads its input as a memo (a string) or a grapher (a real, noted by its bits) does.
struct End {
  const char* name;
  bool real = false;
  void doAdd(TData& d, std::uint16_t) {
    const std::string value = real ? Point(ReadReal(d, TNd_Event{}, 0.0)) : ReadString(d, TNd_Event{}, "");
    journal.push_back(name + (":" + value));
  }
};

struct Network {
  TNdHub ReportHub, VoltageHub, TemperatureHub, EndHub;
  TNdDelete VoltageCut, TemperatureCut;
  TNdInsert VoltagePoint, TemperaturePoint;
  TNdStrMask EndMask;
  End VoltageMemo{"VoltageMemo"}, VoltageGraph{"VoltageGraph", true};
  End TemperatureMemo{"TemperatureMemo"}, TemperatureGraph{"TemperatureGraph", true};
  End EndMessage{"EndMessage"}, CloseHub{"CloseHub"};

  Network() {
    InstallDispatchers();
    VoltageCut.Position = 5;
    VoltageCut.Count = 3;
    VoltagePoint.SubStr = ".";
    VoltagePoint.Position = 2;
    ReportHub.SetOutCount(3);
    TemperatureCut.Position = 1;
    TemperatureCut.Count = 4;
    TemperaturePoint.SubStr = ".";
    TemperaturePoint.Position = 3;
    VoltageHub.SetOutCount(2);
    TemperatureHub.SetOutCount(2);
    EndMask.Mask = "0000000*";
    EndMask.IgnoreCase = 1;
    EndHub.SetOutCount(2);
    VoltageCut.onDelete = MakeEvent<&TNdHub::doEvent>(&VoltageHub, 0);
    VoltagePoint.onInsert = MakeEvent<&End::doAdd>(&VoltageMemo, 0);
    ReportHub.onEvent[0] = MakeEvent<&TNdDelete::doDelete>(&TemperatureCut, 0);
    ReportHub.onEvent[1] = MakeEvent<&TNdDelete::doDelete>(&VoltageCut, 0);
    ReportHub.onEvent[2] = MakeEvent<&TNdStrMask::doCheck>(&EndMask, 0);
    TemperatureCut.onDelete = MakeEvent<&TNdInsert::doInsert>(&TemperaturePoint, 0);
    TemperaturePoint.onInsert = MakeEvent<&TNdHub::doEvent>(&TemperatureHub, 0);
    VoltageHub.onEvent[0] = MakeEvent<&TNdInsert::doInsert>(&VoltagePoint, 0);
    VoltageHub.onEvent[1] = MakeEvent<&End::doAdd>(&VoltageGraph, 0);
    TemperatureHub.onEvent[0] = MakeEvent<&End::doAdd>(&TemperatureGraph, 0);
    TemperatureHub.onEvent[1] = MakeEvent<&End::doAdd>(&TemperatureMemo, 0);
    EndMask.onMatch = MakeEvent<&TNdHub::doEvent>(&EndHub, 0);
    EndHub.onEvent[0] = MakeEvent<&End::doAdd>(&EndMessage, 0);
    EndHub.onEvent[1] = MakeEvent<&End::doAdd>(&CloseHub, 1);
  }
};

std::vector<std::string> Expected(const std::string& reply) {
  if (reply.empty()) return {};  // the cuts send nothing for nothing and the mask fails
  std::vector<std::string> e;
  if (reply.size() > 4) {
    std::string t = reply.substr(4);
    t.insert(std::min<std::size_t>(2, t.size()), ".");
    e = {"TemperatureGraph:" + Point(model::StrToReal(t)), "TemperatureMemo:" + t};
  }
  const std::string v = reply.substr(0, 4) + (reply.size() > 7 ? reply.substr(7) : "");
  e.push_back("VoltageMemo:" + v.substr(0, 1) + "." + v.substr(1));
  e.push_back("VoltageGraph:" + Point(model::StrToReal(v)));
  if (reply.compare(0, 7, "0000000") == 0) e.insert(e.end(), {"EndMessage:" + reply, "CloseHub:" + reply});
  return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Network* network = new Network;  // one network for the whole run, as in the program
  const std::string reply(reinterpret_cast<const char*>(data), size);
  journal.clear();
  RaiseString(MakeEvent<&TNdHub::doEvent>(&network->ReportHub, 0), reply);
  FUZZ_CHECK(journal == Expected(reply));
  return 0;
}
