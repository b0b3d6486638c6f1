#pragma once
// The floor of the monitor: the same window and the same work written directly on Win32, with
// no toolkit and no elements. bench/report measures the monitor against it; report_bench drives
// it in-process, as it drives the monitor's form.

#include <windows.h>

#include <string_view>
#include <vector>

struct BareGraph {
  HWND window = nullptr;
  WNDPROC staticProc = nullptr;
  HDC dc = nullptr;  // memory DC that holds the back buffer for the graph's whole life
  HBITMAP bitmap = nullptr;
  HGDIOBJ dcBitmap = nullptr;
  int width = 0;
  int height = 0;
  double minY = 0.0;
  double maxY = 0.0;
  std::vector<double> values;  // value i stands at X = i: one unit per reading since the clear
  std::vector<POINT> curve;
};

class BareMonitor {
public:
  BareMonitor() = default;
  BareMonitor(const BareMonitor&) = delete;
  BareMonitor& operator=(const BareMonitor&) = delete;
  ~BareMonitor();

  // Makes the window at (left, top), hidden; false when the platform refuses it.
  bool Create(HINSTANCE instance, int left, int top);
  void Show(int command);
  HWND Window() const { return window_; }
  const BareGraph& VoltageGraph() const { return voltage_; }
  const BareGraph& TemperatureGraph() const { return temperature_; }
  HWND VoltageMemo() const { return voltageMemo_; }
  HWND TemperatureMemo() const { return temperatureMemo_; }

  // One reply read from the charger: both panes, both graphs, the end-of-charge check.
  void Reply(std::string_view bytes);
  void Clear();
  bool endsMessageLoop = false;  // closing the window posts WM_QUIT

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK GraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND MakeChild(const wchar_t* kind, const wchar_t* text, DWORD style, DWORD exStyle, int left,
                 int top, int width, int height, HFONT font);
  HWND MakeLabel(const wchar_t* text, int left, int top);
  void MakeGraph(BareGraph& graph, int left, int top, int width, int height, double minY,
                 double maxY);
  void DrawGraph(BareGraph& graph);
  void AddValue(BareGraph& graph, double value);
  void AddLineOnTop(HWND memo, std::string_view line);
  void StartCycle();
  void StopCycle();
  void OpenPort();
  void ClosePort();
  void Poll();
  void ReadReply();

  HWND window_ = nullptr;
  HWND focus_ = nullptr;
  HWND stopButton_ = nullptr;
  HWND cycleButton_ = nullptr;
  HWND voltageMemo_ = nullptr;
  HWND temperatureMemo_ = nullptr;
  BareGraph voltage_;
  BareGraph temperature_;
  HFONT textFont_ = nullptr;
  HFONT buttonFont_ = nullptr;
  HFONT labelFont_ = nullptr;
  HPEN framePen_ = nullptr;
  HPEN gridPen_ = nullptr;
  HPEN curvePen_ = nullptr;
  HBRUSH faceBrush_ = nullptr;
  HANDLE port_ = INVALID_HANDLE_VALUE;
  bool polling_ = false;
  bool reading_ = false;
};
