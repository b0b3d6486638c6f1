// The monitor's report path, built from the real portable elements with the settings of
// app/monitor_form.cpp and the links of app/monitor_links.cpp; only the Win32 ends (memos,
// graphs, the end-of-charge message box and the port closing) are replaced by recorders that
// read their input as those elements do (TNdWinList::doAdd reads a string, TNdGrapher::doAdd a
// real). Any bytes are one reply as TNdCOM::doRead raises it on onRead.
//
//   SerialPort.onRead -> ReportHub (1 in, 3 out)
//     [0] TemperatureCut  Delete(1, 4) -> TemperaturePoint Insert(".", 3) -> TemperatureHub
//                                             [0] TemperatureGraph  [1] TemperatureMemo
//     [1] VoltageCut      Delete(5, 3) -> VoltageHub
//                                             [0] VoltagePoint Insert(".", 2) -> VoltageMemo
//                                             [1] VoltageGraph
//     [2] EndMask "0000000*", IgnoreCase 1 -> onMatch: EndHub [0] EndMessage [1] CloseHub

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "do_data.h"
#include "event.h"
#include "fuzz_support.h"
#include "hub.h"
#include "insert_delete.h"
#include "str_mask.h"

using fuzz::Show;

namespace {

std::vector<std::string>* journal = nullptr;  // what reached the ends, in order

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string Num(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

class TMemoEnd : public TObject {
public:
  std::string Name;
  std::vector<std::string> Lines;
  void doAdd(TData& data, std::uint16_t) {
    const AnsiString text = ReadString(data, TNd_Event{}, "");
    Lines.push_back(text);
    journal->push_back(Name);
  }
};

class TGraphEnd : public TObject {
public:
  std::string Name;
  std::vector<double> Points;
  void doAdd(TData& data, std::uint16_t) {
    Points.push_back(ReadReal(data, TNd_Event{}, 0.0));
    journal->push_back(Name);
  }
};

class TCount : public TObject {
public:
  std::string Name;
  int Count = 0;
  void doEvent(TData&, std::uint16_t) {
    ++Count;
    journal->push_back(Name);
  }
};

template <auto Method, class T>
void Link(TNd_Event& output, T* target, std::uint16_t index) {
  output = MakeEvent<Method>(target, index);
}

// The elements and their settings, as monitor_form.cpp makes them.
struct Network {
  TNdHub ReportHub, VoltageHub, TemperatureHub, EndHub;
  TNdDelete VoltageCut, TemperatureCut;
  TNdInsert VoltagePoint, TemperaturePoint;
  TNdStrMask EndMask;
  TMemoEnd VoltageMemo, TemperatureMemo;
  TGraphEnd VoltageGraph, TemperatureGraph;
  TCount EndMessage, CloseHub;

  Network() {
    auto hub = [](TNdHub& h, std::uint8_t in, std::uint8_t out) {
      h.InCount = in;
      h.SetOutCount(out);
    };
    auto cut = [](TNdDelete& d, std::int32_t position, std::int32_t count) {
      d.Position = position;
      d.Count = count;
    };
    auto point = [](TNdInsert& p, std::int32_t position) {
      p.Str.clear();
      p.SubStr = ".";
      p.Position = position;
    };
    cut(VoltageCut, 5, 3);
    point(VoltagePoint, 2);
    hub(ReportHub, 1, 3);
    cut(TemperatureCut, 1, 4);
    point(TemperaturePoint, 3);
    hub(VoltageHub, 1, 2);
    hub(TemperatureHub, 1, 2);
    EndMask.Mask = "0000000*";
    EndMask.IgnoreCase = 1;
    hub(EndHub, 1, 2);
    VoltageMemo.Name = "VoltageMemo";
    TemperatureMemo.Name = "TemperatureMemo";
    VoltageGraph.Name = "VoltageGraph";
    TemperatureGraph.Name = "TemperatureGraph";
    EndMessage.Name = "EndMessage";
    CloseHub.Name = "CloseHub";

    // The links of monitor_links.cpp that a report travels, in their order there.
    Link<&TNdHub::doEvent>(VoltageCut.onDelete, &VoltageHub, 0);
    Link<&TMemoEnd::doAdd>(VoltagePoint.onInsert, &VoltageMemo, 0);
    Link<&TNdDelete::doDelete>(ReportHub.onEvent[0], &TemperatureCut, 0);
    Link<&TNdDelete::doDelete>(ReportHub.onEvent[1], &VoltageCut, 0);
    Link<&TNdStrMask::doCheck>(ReportHub.onEvent[2], &EndMask, 0);
    Link<&TNdInsert::doInsert>(TemperatureCut.onDelete, &TemperaturePoint, 0);
    Link<&TNdHub::doEvent>(TemperaturePoint.onInsert, &TemperatureHub, 0);
    Link<&TNdInsert::doInsert>(VoltageHub.onEvent[0], &VoltagePoint, 0);
    Link<&TGraphEnd::doAdd>(VoltageHub.onEvent[1], &VoltageGraph, 0);
    Link<&TGraphEnd::doAdd>(TemperatureHub.onEvent[0], &TemperatureGraph, 0);
    Link<&TMemoEnd::doAdd>(TemperatureHub.onEvent[1], &TemperatureMemo, 0);
    Link<&TNdHub::doEvent>(EndMask.onMatch, &EndHub, 0);
    Link<&TCount::doEvent>(EndHub.onEvent[0], &EndMessage, 0);
    Link<&TCount::doEvent>(EndHub.onEvent[1], &CloseHub, 1);
  }

  void Report(const std::string& reply) {
    // TNdCOM::doRead: RaiseString(onRead, reply), onRead linked to ReportHub point 0.
    RaiseString(MakeEvent<&TNdHub::doEvent>(&ReportHub, 0), reply);
  }
};

// A direct computation of one report.
struct Expected {
  std::vector<std::string> journal;
  std::string temperatureText, voltageText, voltageCut;
  bool temperature = false, voltage = false, end = false;
};

Expected Compute(const std::string& reply) {
  Expected e;
  if (reply.empty()) return e;  // the cuts send nothing for nothing; the mask sees "" and fails
  // Temperature: the first four bytes cut away, a point before the third byte left.
  const std::string t = reply.size() > 4 ? reply.substr(4) : "";
  if (!t.empty()) {
    e.temperature = true;
    e.temperatureText = t.size() >= 2 ? t.substr(0, 2) + "." + t.substr(2) : t + ".";
    e.journal = {"TemperatureGraph", "TemperatureMemo"};
  }
  // Voltage: bytes 5 to 7 cut away; a point after the first byte for the memo.
  e.voltage = true;
  e.voltageCut = reply.size() >= 5 ? reply.substr(0, 4) + (reply.size() > 7 ? reply.substr(7) : "") : reply;
  e.voltageText = e.voltageCut.substr(0, 1) + "." + e.voltageCut.substr(1);
  e.journal.push_back("VoltageMemo");
  e.journal.push_back("VoltageGraph");
  // End of charge: seven zeros first (lower-casing changes no digit).
  e.end = reply.size() >= 7 && reply.compare(0, 7, "0000000") == 0;
  if (e.end) {
    e.journal.push_back("EndMessage");
    e.journal.push_back("CloseHub");
  }
  return e;
}

std::string Joined(const std::vector<std::string>& list) {
  std::string out;
  for (const auto& s : list) out += s + " ";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InstallDispatchers();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Network* net = new Network;  // one network for the whole run, as in the program
  std::vector<std::string> reached;
  journal = &reached;
  const std::string reply(reinterpret_cast<const char*>(data), size);
  const Expected e = Compute(reply);

  net->VoltageMemo.Lines.clear();
  net->TemperatureMemo.Lines.clear();
  net->VoltageGraph.Points.clear();
  net->TemperatureGraph.Points.clear();
  net->EndMessage.Count = net->CloseHub.Count = 0;
  net->Report(reply);

  const std::string what = "reply " + Show(reply) + ": reached " + Joined(reached) + ", expected " + Joined(e.journal);
  FUZZ_CHECK(reached == e.journal, what);
  if (e.temperature) {
    FUZZ_CHECK(net->TemperatureMemo.Lines[0] == e.temperatureText,
               what + "; temperature " + Show(net->TemperatureMemo.Lines[0]));
    const double y = net->TemperatureGraph.Points[0];
    FUZZ_CHECK(SameBits(y, fuzz::ModelStrToReal(e.temperatureText)), what + "; temperature point " + Num(y));
  }
  if (e.voltage) {
    FUZZ_CHECK(net->VoltageMemo.Lines[0] == e.voltageText, what + "; voltage " + Show(net->VoltageMemo.Lines[0]));
    const double y = net->VoltageGraph.Points[0];
    FUZZ_CHECK(SameBits(y, fuzz::ModelStrToReal(e.voltageCut)), what + "; voltage point " + Num(y));
  }

  // A well-formed reply, seven digits and a carriage return: millivolts and tenths of a degree.
  bool wellFormed = reply.size() == 8 && reply[7] == '\r';
  for (std::size_t i = 0; wellFormed && i < 7; ++i) wellFormed = fuzz::IsDigit(reply[i]);
  if (wellFormed) {
    const int millivolts = std::atoi(reply.substr(0, 4).c_str());
    const int tenths = std::atoi(reply.substr(4, 3).c_str());
    // The carriage return stays at the end of both cut texts.
    FUZZ_CHECK(net->VoltageMemo.Lines[0] == reply.substr(0, 1) + "." + reply.substr(1, 3) + "\r", what);
    FUZZ_CHECK(net->TemperatureMemo.Lines[0] == reply.substr(4, 2) + "." + reply.substr(6, 1) + "\r", what);
    FUZZ_CHECK(net->VoltageGraph.Points[0] == millivolts, what);
    // Read a digit at a time, "00.7" is 0.7000000000000001: only close to the tenths.
    const double y = net->TemperatureGraph.Points[0];
    FUZZ_CHECK(std::fabs(y - tenths / 10.0) <= 1e-13, what + "; temperature point " + Num(y));
    FUZZ_CHECK(net->EndMessage.Count == (millivolts == 0 && tenths == 0 ? 1 : 0), what);
  }
  journal = nullptr;
  return 0;
}
