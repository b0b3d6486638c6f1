#include "graphic_tool.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using ToolPtr = TOwned<TGraphicTool>;

// What the platform holds for a made object: LOGPEN, LOGBRUSH or LOGFONTW.
template <class T>
T madeOf(HGDIOBJ handle) {
  T data{};
  EXPECT_EQ(GetObjectW(handle, sizeof data, &data), static_cast<int>(sizeof data));
  return data;
}

// Records every OnToolChange and whether the watched old handle was still alive then.
struct ChangeProbe {
  explicit ChangeProbe(TGraphicTool* observed) : tool(observed) {
    tool->OnToolChange = MakeMethod<&ChangeProbe::changed, TGraphicTool*>(this);
  }
  void changed(TGraphicTool* sender) {
    ++calls;
    EXPECT_EQ(sender, tool);
    EXPECT_FALSE(tool->HasHandle());
    if (watched && GetObjectType(watched) != 0) ++callsWhileOldAlive;
  }
  TGraphicTool* tool;
  HGDIOBJ watched = nullptr;
  int calls = 0;
  int callsWhileOldAlive = 0;
};

TEST(GraphicTool, DefaultsMakeTheObjectsTheToolkitDrawsWith) {
  ToolPtr font(TGraphicTool::CreateFontTool());
  EXPECT_FALSE(font->HasHandle());  // lazy
  const auto madeFont = madeOf<LOGFONTW>(font->ToolHandle());
  EXPECT_EQ(std::wstring(madeFont.lfFaceName), L"MS Sans Serif");
  EXPECT_EQ(madeFont.lfCharSet, DEFAULT_CHARSET);

  ToolPtr brush(TGraphicTool::CreateBrushTool());
  EXPECT_EQ(madeOf<LOGBRUSH>(brush->ToolHandle()).lbColor, GetSysColor(COLOR_BTNFACE));

  ToolPtr pen(TGraphicTool::CreatePenTool());
  const auto madePen = madeOf<LOGPEN>(pen->ToolHandle());
  EXPECT_EQ(madePen.lopnStyle, static_cast<UINT>(PS_SOLID));
  EXPECT_EQ(madePen.lopnColor, RGB(0, 0, 0));
}

TEST(GraphicTool, HandleIsRemadeOnlyAfterARealChange) {
  ToolPtr pen(TGraphicTool::CreatePenTool());
  pen->SetColor(0x0000FF);
  HGDIOBJ first = pen->ToolHandle();
  ASSERT_NE(first, nullptr);
  pen->SetColor(0x0000FF);
  pen->SetPenWidth(0);
  pen->SetFontHeight(12);  // not a pen's data
  EXPECT_EQ(pen->ToolHandle(), first);

  pen->SetColor(0x00FF00);
  EXPECT_EQ(GetObjectType(first), 0u) << "the old pen must be deleted";
  pen->SetPenWidth(3);
  const auto made = madeOf<LOGPEN>(pen->ToolHandle());
  EXPECT_NE(pen->ToolHandle(), first);
  EXPECT_EQ(made.lopnColor, RGB(0, 255, 0));
  EXPECT_EQ(made.lopnWidth.x, 3);
}

TEST(GraphicTool, ChangeIsToldBeforeTheOldHandleDiesAndAgainAfter) {
  ToolPtr brush(TGraphicTool::CreateBrushTool());
  ChangeProbe probe(brush.get());
  brush->SetColor(0x123456);  // no handle yet: told once
  EXPECT_EQ(probe.calls, 1);

  probe.watched = brush->ToolHandle();
  probe.calls = 0;
  brush->SetBrushStyle(bsClear);
  EXPECT_EQ(probe.calls, 2);
  EXPECT_EQ(probe.callsWhileOldAlive, 1);
  EXPECT_EQ(madeOf<LOGBRUSH>(brush->ToolHandle()).lbStyle, static_cast<UINT>(BS_HOLLOW));
  brush->SetBrushStyle(bsClear);
  EXPECT_EQ(probe.calls, 2);
}

TEST(GraphicTool, FontStyleBitsDriveWeightAndFlags) {
  ToolPtr font(TGraphicTool::CreateFontTool());
  font->SetFontStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut);
  auto made = madeOf<LOGFONTW>(font->ToolHandle());
  EXPECT_EQ(made.lfWeight, FW_BOLD);
  EXPECT_TRUE(made.lfItalic && made.lfUnderline && made.lfStrikeOut);

  font->SetFontStyle(fsUnderline);
  made = madeOf<LOGFONTW>(font->ToolHandle());
  EXPECT_EQ(made.lfWeight, 0);
  EXPECT_TRUE(!made.lfItalic && made.lfUnderline && !made.lfStrikeOut);

  // Bold only raises a lighter weight; a heavier one stays.
  font->SetFontWeight(FW_HEAVY);
  font->SetFontStyle(fsBold);
  EXPECT_EQ(font->FontWeight(), FW_HEAVY);
  font->SetFontWeight(FW_SEMIBOLD);
  EXPECT_EQ(font->FontStyle() & fsBold, 0);
  font->SetFontStyle(fsBold);
  EXPECT_EQ(font->FontWeight(), FW_BOLD);
}

TEST(GraphicTool, FaceNameCrossesAsWindows1251AndIsCutToTheRecord) {
  ToolPtr font(TGraphicTool::CreateFontTool());
  font->SetFontName("Шрифт");
  EXPECT_EQ(std::wstring(madeOf<LOGFONTW>(font->ToolHandle()).lfFaceName),
            L"\x0428\x0440\x0438\x0444\x0442");

  font->SetFontName(std::string(40, 'A'));
  EXPECT_EQ(font->FontName(), std::string(31, 'A'));
  EXPECT_EQ(madeOf<LOGFONTW>(font->ToolHandle()).lfFaceName, std::wstring(31, L'A'));
}

TEST(GraphicTool, AssignToolCopiesMakesAndFrees) {
  ToolPtr source(TGraphicTool::CreatePenTool());
  source->SetColor(0x0000FF);
  source->SetPenWidth(2);
  ToolPtr copy(TGraphicTool::AssignTool(nullptr, source.get()));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->Kind(), TToolKind::Pen);
  EXPECT_EQ(madeOf<LOGPEN>(copy->ToolHandle()).lopnWidth.x, 2);
  EXPECT_NE(copy->ToolHandle(), source->ToolHandle()) << "every object has one owner";
  EXPECT_EQ(TGraphicTool::AssignTool(copy.get(), source.get()), copy.get());

  // A brush takes only the colour of a pen: the rest means something else.
  ToolPtr brush(TGraphicTool::CreateBrushTool());
  brush->AssignTool(*source);
  EXPECT_EQ(madeOf<LOGBRUSH>(brush->ToolHandle()).lbColor, RGB(255, 0, 0));

  struct DestroyFlag {
    void destroyed(TObj*) { freed = true; }
    bool freed = false;
  } flag;
  copy->OnDestroy = MakeMethod<&DestroyFlag::destroyed, TObj*>(&flag);
  EXPECT_EQ(TGraphicTool::AssignTool(copy.release(), nullptr), nullptr);
  EXPECT_TRUE(flag.freed);
}

TEST(GraphicTool, SystemColourBrushFollowsAChangedSystemColour) {
  ToolPtr brush(TGraphicTool::CreateBrushTool());  // 0x8000000F: button face
  ChangeProbe probe(brush.get());
  probe.watched = brush->ToolHandle();
  const int index = COLOR_BTNFACE;
  const COLORREF original = GetSysColor(index);
  const COLORREF other = original == RGB(10, 20, 30) ? RGB(30, 20, 10) : RGB(10, 20, 30);
  ASSERT_TRUE(SetSysColors(1, &index, &other));
  const HGDIOBJ after = brush->ToolHandle();
  const HGDIOBJ again = brush->ToolHandle();
  SetSysColors(1, &index, &original);  // back before any check can end the test
  EXPECT_EQ(madeOf<LOGBRUSH>(after).lbColor, other);
  EXPECT_EQ(probe.callsWhileOldAlive, 1) << "a canvas must hear of it before the delete";
  EXPECT_EQ(again, after);
  EXPECT_EQ(madeOf<LOGBRUSH>(brush->ToolHandle()).lbColor, original);
}

TEST(GraphicTool, SelectGuardPutsThePreviousObjectBack) {
  TMemoryDC dc(nullptr);
  HGDIOBJ stockPen = GetCurrentObject(dc.Get(), OBJ_PEN);
  TGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
  {
    TSelectGuard guard(dc.Get(), pen.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), stockPen);
}

}  // namespace
