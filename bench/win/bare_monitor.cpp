#include "bare_monitor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr wchar_t ClassName[] = L"BareMonitor";
constexpr UINT_PTR PollTimer = 1;
constexpr UINT_PTR FirstPollTimer = 2;
constexpr UINT_PTR ReadDelayTimer = 3;
constexpr UINT PollMs = 60000;
constexpr UINT FirstPollMs = 10;
constexpr UINT ReadDelayMs = 1;
constexpr DWORD PortTimeoutMs = 60000;
constexpr DWORD ReplyBytes = 8;

// The monitor's windows as its form makes them.
constexpr DWORD MainStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD ChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;
constexpr DWORD LabelStyle = ChildStyle | WS_BORDER | SS_NOTIFY | SS_NOPREFIX;
constexpr DWORD GraphStyle = LabelStyle | SS_LEFTNOWORDWRAP;
constexpr DWORD ButtonStyle = ChildStyle | WS_BORDER | BS_PUSHLIKE | BS_MULTILINE;
constexpr DWORD MemoStyle = ChildStyle | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL |
                            ES_READONLY;
constexpr DWORD ChildExStyle = WS_EX_CONTROLPARENT;

constexpr int MarginLeft = 30;
constexpr int MarginRight = 15;
constexpr int MarginTop = 15;
constexpr int MarginBottom = 15;
constexpr int Grid = 10;
constexpr COLORREF GridColor = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF TextColor = RGB(0, 0, 0xFF);
constexpr COLORREF CurveColor = RGB(0xFF, 0, 0);

// Nearest integer, ties to even (the default rounding mode); a wild value stays far outside the
// bitmap.
int nint(double v) {
  if (!(v > -1e9)) return -1000000000;
  if (!(v < 1e9)) return 1000000000;
  return static_cast<int>(std::lrint(v));
}

HFONT makeFont(int height, LONG weight) {
  LOGFONTW font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  wcscpy(font.lfFaceName, L"MS Sans Serif");
  return CreateFontIndirectW(&font);
}

int pointsToHeight(int points) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return height;
}

void drawLabel(HDC dc, int x, int y, double value) {
  wchar_t text[32];
  const int length = swprintf(text, 32, L"%.15g", nint(value * 100.0) / 100.0);
  TextOutW(dc, x, y, text, length);
}

}  // namespace

BareMonitor::~BareMonitor() {
  ClosePort();
  if (window_) DestroyWindow(window_);
  for (BareGraph* graph : {&voltage_, &temperature_}) {
    if (!graph->dc) continue;
    SelectObject(graph->dc, graph->dcBitmap);
    DeleteObject(graph->bitmap);
    DeleteDC(graph->dc);
  }
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(textFont_), static_cast<HGDIOBJ>(buttonFont_),
                         static_cast<HGDIOBJ>(labelFont_), static_cast<HGDIOBJ>(framePen_),
                         static_cast<HGDIOBJ>(gridPen_), static_cast<HGDIOBJ>(curvePen_)})
    if (object) DeleteObject(object);
}

bool BareMonitor::Create(HINSTANCE instance, int left, int top) {
  WNDCLASSW windowClass{};
  if (!GetClassInfoW(instance, ClassName, &windowClass)) {
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"FICO");
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassW(&windowClass)) return false;
  }
  textFont_ = makeFont(pointsToHeight(8), FW_DONTCARE);
  buttonFont_ = makeFont(pointsToHeight(10), FW_BOLD);
  labelFont_ = makeFont(8, FW_DONTCARE);
  framePen_ = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  gridPen_ = CreatePen(PS_SOLID, 1, GridColor);
  curvePen_ = CreatePen(PS_SOLID, 1, CurveColor);
  faceBrush_ = GetSysColorBrush(COLOR_BTNFACE);

  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, ClassName, L"VORTANE", MainStyle, left, top, 1024,
                            768, nullptr, nullptr, instance, this);
  if (!window_) return false;
  // In the monitor's order: each child lies above those made before it.
  stopButton_ = MakeChild(L"BUTTON", L"стоп", ButtonStyle, ChildExStyle, 95, 700, 85, 25,
                          buttonFont_);
  temperatureMemo_ = MakeChild(L"EDIT", L"", MemoStyle, ChildExStyle | WS_EX_CLIENTEDGE, 150, 30,
                               115, 630, textFont_);
  voltageMemo_ = MakeChild(L"EDIT", L"", MemoStyle, ChildExStyle | WS_EX_CLIENTEDGE, 15, 30, 115,
                           630, textFont_);
  MakeLabel(L"Напряжение,В", 20, 10);
  MakeLabel(L"Температура, С", 155, 10);
  cycleButton_ = MakeChild(L"BUTTON", L"цикл", ButtonStyle, ChildExStyle, 95, 670, 85, 25,
                           buttonFont_);
  MakeGraph(voltage_, 280, 10, 700, 400, 800.0, 1600.0);
  MakeLabel(L"Напряжение, мВ/время", 420, 10);
  MakeLabel(L"мин", 980, 385);
  MakeGraph(temperature_, 280, 430, 700, 300, 20.0, 45.0);
  MakeLabel(L"мин", 980, 705);
  MakeLabel(L"Температура, С/время", 415, 415);
  // The panes list readings without end; the edit's default limit would refuse them.
  SendMessageW(voltageMemo_, EM_SETLIMITTEXT, 0, 0);
  SendMessageW(temperatureMemo_, EM_SETLIMITTEXT, 0, 0);
  focus_ = stopButton_;
  return true;
}

void BareMonitor::Show(int command) { ShowWindow(window_, command); }

HWND BareMonitor::MakeChild(const wchar_t* kind, const wchar_t* text, DWORD style, DWORD exStyle,
                            int left, int top, int width, int height, HFONT font) {
  HWND child = CreateWindowExW(exStyle, kind, text, style, left, top, width, height, window_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

// Sized to its text, as the monitor's labels are.
HWND BareMonitor::MakeLabel(const wchar_t* text, int left, int top) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, textFont_);
  SIZE extent{};
  GetTextExtentPoint32W(screen, text, static_cast<int>(wcslen(text)), &extent);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  RECT r{0, 0, extent.cx, extent.cy};
  AdjustWindowRectEx(&r, LabelStyle, FALSE, ChildExStyle);
  return MakeChild(L"STATIC", text, LabelStyle, ChildExStyle, left, top,
                   r.right - r.left, r.bottom - r.top, textFont_);
}

void BareMonitor::MakeGraph(BareGraph& graph, int left, int top, int width, int height,
                            double minY, double maxY) {
  graph.window = MakeChild(L"STATIC", L"", GraphStyle, ChildExStyle, left, top, width, height,
                           textFont_);
  SetWindowLongPtrW(graph.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&graph));
  graph.staticProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(graph.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GraphProc)));
  graph.minY = minY;
  graph.maxY = maxY;
  RECT client;
  GetClientRect(graph.window, &client);
  graph.width = client.right;
  graph.height = client.bottom;
  HDC screen = GetDC(nullptr);
  graph.dc = CreateCompatibleDC(screen);
  graph.bitmap = CreateCompatibleBitmap(screen, graph.width, graph.height);
  ReleaseDC(nullptr, screen);
  graph.dcBitmap = SelectObject(graph.dc, graph.bitmap);
  SelectObject(graph.dc, faceBrush_);
  SelectObject(graph.dc, labelFont_);
  SetBkColor(graph.dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(graph.dc, TextColor);
  DrawGraph(graph);
}

// Frame, grid, labels and curve, all into the back buffer.
void BareMonitor::DrawGraph(BareGraph& graph) {
  HDC dc = graph.dc;
  const int w = graph.width;
  const int h = graph.height;
  const RECT all{0, 0, w, h};
  FillRect(dc, &all, faceBrush_);
  SelectObject(dc, framePen_);
  Rectangle(dc, MarginLeft, MarginTop, w - MarginRight, h - MarginBottom);

  const int count = static_cast<int>(graph.values.size());
  const double plotWidth = w - MarginLeft - MarginRight;
  const double plotHeight = h - MarginTop - MarginBottom;
  const double lo = count > 0 ? graph.minY : 0.0;
  const double range = count > 0 ? graph.maxY - graph.minY : 1.0;
  const double span = count > 1 ? count - 1 : 1.0;
  SelectObject(dc, gridPen_);

  const double cellX = std::max(plotWidth / Grid, 1.0);
  const double stepX = count > 1 ? span / Grid : 0.0;
  const bool xLabels = cellX > 10.0;
  const int xLabelTop = h - MarginBottom + 1;
  double label = 0.0;
  if (xLabels) drawLabel(dc, MarginLeft - 2, xLabelTop, label);
  for (double x = MarginLeft + cellX; x < w - MarginRight + 1; x += cellX) {
    const int px = nint(x);
    MoveToEx(dc, px, MarginTop, nullptr);
    LineTo(dc, px, h - MarginBottom);
    label += stepX;
    if (xLabels) drawLabel(dc, px - 2, xLabelTop, label);
  }

  const double cellY = std::max(plotHeight / Grid, 1.0);
  const double stepY = count > 0 ? range / Grid : 0.0;
  const bool yLabels = cellY > 12.0;
  label = lo;
  if (yLabels) drawLabel(dc, 2, h - MarginBottom - 4, label);
  for (double y = (h - MarginBottom) - cellY; y > MarginTop - 1; y -= cellY) {
    const int py = nint(y);
    MoveToEx(dc, MarginLeft, py, nullptr);
    LineTo(dc, w - MarginRight, py);
    label += stepY;
    if (yLabels) drawLabel(dc, 2, py - 4, label);
  }

  if (count == 0) return;
  SelectObject(dc, curvePen_);
  graph.curve.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    graph.curve[static_cast<std::size_t>(i)] = {
        MarginLeft + nint(i * plotWidth / span),
        MarginTop + nint(plotHeight - (graph.values[static_cast<std::size_t>(i)] - lo) *
                                          plotHeight / range)};
  }
  MoveToEx(dc, graph.curve[0].x, graph.curve[0].y, nullptr);
  if (count > 1) PolylineTo(dc, graph.curve.data() + 1, static_cast<DWORD>(count - 1));
}

void BareMonitor::AddValue(BareGraph& graph, double value) {
  graph.values.push_back(value);
  DrawGraph(graph);
  InvalidateRect(graph.window, nullptr, FALSE);
}

void BareMonitor::AddLineOnTop(HWND memo, std::string_view line) {
  wchar_t text[64];
  const int length = MultiByteToWideChar(1251, 0, line.data(), static_cast<int>(line.size()),
                                         text, 60);
  text[length] = L'\r';
  text[length + 1] = L'\n';
  text[length + 2] = L'\0';
  SendMessageW(memo, EM_SETSEL, 0, 0);
  SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

// The reply is four voltage digits (mV), three temperature digits (tenths of a degree) and CR;
// the texts are cut by position exactly as the monitor cuts them.
void BareMonitor::Reply(std::string_view bytes) {
  if (bytes.empty()) return;
  const std::string reply(bytes);
  std::string temperature = reply.substr(std::min<std::size_t>(4, reply.size()));
  if (!temperature.empty()) {
    temperature.insert(std::min<std::size_t>(2, temperature.size()), ".");
    AddValue(temperature_, std::strtod(temperature.c_str(), nullptr));
    AddLineOnTop(temperatureMemo_, temperature);
  }
  std::string voltage = reply;
  if (voltage.size() >= 5) voltage.erase(4, 3);
  std::string pointed = voltage;
  pointed.insert(1, ".");
  AddLineOnTop(voltageMemo_, pointed);
  AddValue(voltage_, std::strtod(voltage.c_str(), nullptr));
  if (reply.compare(0, 7, "0000000") == 0) {
    MessageBoxW(window_, L"Заряд окончен!", L"Режим", MB_OK);
    ClosePort();
  }
}

void BareMonitor::Clear() {
  for (BareGraph* graph : {&temperature_, &voltage_}) {
    graph->values.clear();
    DrawGraph(*graph);
    InvalidateRect(graph->window, nullptr, FALSE);
    SetWindowTextW(graph == &temperature_ ? temperatureMemo_ : voltageMemo_, L"");
  }
}

void BareMonitor::OpenPort() {
  ClosePort();
  port_ = CreateFileW(L"\\\\.\\COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (port_ == INVALID_HANDLE_VALUE) return;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(port_, &dcb);
  dcb.BaudRate = 4800;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fOutxCtsFlow = FALSE;
  COMMTIMEOUTS timeouts{PortTimeoutMs, PortTimeoutMs, PortTimeoutMs, PortTimeoutMs,
                        PortTimeoutMs};
  if (!SetCommState(port_, &dcb) || !SetCommTimeouts(port_, &timeouts)) {
    ClosePort();
    return;
  }
  PurgeComm(port_, PURGE_RXCLEAR);
}

void BareMonitor::ClosePort() {
  if (port_ != INVALID_HANDLE_VALUE) CloseHandle(port_);
  port_ = INVALID_HANDLE_VALUE;
}

void BareMonitor::StartCycle() {
  OpenPort();
  // A running poll keeps its period.
  if (!polling_) SetTimer(window_, PollTimer, PollMs, nullptr);
  polling_ = true;
  SetTimer(window_, FirstPollTimer, FirstPollMs, nullptr);
  Clear();
}

void BareMonitor::StopCycle() {
  KillTimer(window_, PollTimer);
  polling_ = false;
  ClosePort();
}

void BareMonitor::Poll() {
  if (port_ != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(port_, "f", 1, &written, nullptr);
  }
  SetTimer(window_, ReadDelayTimer, ReadDelayMs, nullptr);
}

// A read asked for while the end-of-charge box is open is dropped, as the monitor drops it.
void BareMonitor::ReadReply() {
  if (reading_ || port_ == INVALID_HANDLE_VALUE) return;
  reading_ = true;
  char bytes[ReplyBytes];
  DWORD got = 0;
  if (ReadFile(port_, bytes, ReplyBytes, &got, nullptr)) Reply(std::string_view(bytes, got));
  reading_ = false;
}

LRESULT CALLBACK BareMonitor::WindowProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<BareMonitor*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<BareMonitor*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(window, message, wParam, lParam);
}

LRESULT BareMonitor::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && reinterpret_cast<HWND>(lParam) == cycleButton_)
        StartCycle();
      else if (HIWORD(wParam) == BN_CLICKED && reinterpret_cast<HWND>(lParam) == stopButton_)
        StopCycle();
      return 0;
    case WM_TIMER:
      if (wParam == PollTimer) {
        Poll();
      } else if (wParam == FirstPollTimer) {
        KillTimer(window_, FirstPollTimer);
        Poll();
      } else if (wParam == ReadDelayTimer) {
        KillTimer(window_, ReadDelayTimer);
        ReadReply();
      }
      return 0;
    case WM_CTLCOLORSTATIC:
      // The read-only panes keep the window colour, not the dialog face of a static.
      if (reinterpret_cast<HWND>(lParam) == voltageMemo_ ||
          reinterpret_cast<HWND>(lParam) == temperatureMemo_) {
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus && IsChild(window_, focus)) focus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      if (focus_) SetFocus(focus_);
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      if (endsMessageLoop) PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK BareMonitor::GraphProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  auto* graph = reinterpret_cast<BareGraph*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const RECT& r = paint.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, graph->dc, r.left, r.top,
           SRCCOPY);
    EndPaint(window, &paint);
    return 0;
  }
  return CallWindowProcW(graph->staticProc, window, message, wParam, lParam);
}
