// TNdInsert and TNdDelete as elements, and InsertText/DeleteText, for any texts, positions and
// counts (negative and huge ones too), with the arriving record and the linked inputs varied.
// Compared with std::string models of insert_delete.h: 1-based positions, an insert position
// clamped to 1..length+1, a delete run outside the string or a count below 1 changing nothing,
// a run past the end clipped; an element with nothing to work on sends nothing. The inputs are
// read as every element reads them (insert_delete.h): a linked input's value unless it answers
// Break, else the property when it is set, else the arriving value, which that read consumes.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "event.h"
#include "fuzz_support.h"
#include "insert_delete.h"

using fuzz::Show;

namespace {

class TProbe : public TObject {
public:
  std::vector<TData> Received;
  void doReceive(TData& data, std::uint16_t) { Received.push_back(data); }
};

class TSource : public TObject {
public:
  TData Value;
  void getValue(TData& data, std::uint16_t) { data = Value; }
};

// A value as the model sees it.
struct Value {
  enum Kind { Null, Integer, String, Break } kind = Null;
  std::int32_t i = 0;
  std::string s;
  TData ToData() const {
    TData d;
    if (kind == Integer) MakeInteger(d, i);
    if (kind == String) MakeString(d, s);
    if (kind == Break) d.DataType = dtBreak;
    return d;
  }
  std::string Str() const { return kind == Integer ? std::to_string(i) : kind == String ? s : ""; }
  std::int32_t Int() const { return kind == Integer ? i : kind == String ? fuzz::ModelStrToInt(s) : 0; }
};

std::int32_t Position(FuzzedDataProvider& in, std::size_t length) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeIntegral<std::int32_t>();
    case 1: return in.ConsumeBool() ? INT32_MAX : INT32_MIN;
    default: return in.ConsumeIntegralInRange<std::int32_t>(-3, static_cast<std::int32_t>(length) + 3);
  }
}

std::string Text(FuzzedDataProvider& in) { return in.ConsumeRandomLengthString(64); }

Value SomeValue(FuzzedDataProvider& in, bool mayBreak) {
  Value v;
  switch (in.ConsumeIntegralInRange(0, mayBreak ? 3 : 2)) {
    case 0: break;
    case 1: v.kind = Value::Integer; v.i = Position(in, 8); break;
    case 2: v.kind = Value::String; v.s = Text(in); break;
    default: v.kind = Value::Break; break;
  }
  return v;
}

// An input point: unlinked, or linked to a source with some value.
struct Input {
  std::optional<Value> linked;
  TSource source;
  void Draw(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) linked = SomeValue(in, true);
  }
  TNd_Event Link() {
    if (!linked) return TNd_Event{};
    source.Value = linked->ToData();
    return MakeEvent<&TSource::getValue>(&source, 0);
  }
};

// The read of one input.
std::string ReadStr(Value& arriving, const Input& input, const std::string& def) {
  if (input.linked && input.linked->kind != Value::Break) return input.linked->Str();
  if (!def.empty() || arriving.kind == Value::Null) return def;
  std::string result = arriving.Str();
  arriving = Value{};
  return result;
}

std::int32_t ReadInt(Value& arriving, const Input& input, std::int32_t def) {
  if (input.linked && input.linked->kind != Value::Break) return input.linked->Int();
  if (def != 0 || arriving.kind == Value::Null) return def;
  const std::int32_t result = arriving.Int();
  arriving = Value{};
  return result;
}

std::string Received(const TProbe& probe) {
  if (probe.Received.empty()) return "<none>";
  FUZZ_CHECK(probe.Received.size() == 1 && probe.Received[0].DataType == dtString, "one string sent");
  return probe.Received[0].StrValue;
}

void CheckFunctions(FuzzedDataProvider& in) {
  const std::string dest = Text(in), text = Text(in);
  const std::int32_t pos = Position(in, dest.size()), count = Position(in, dest.size());
  const std::string inserted = InsertText(dest, text, pos);
  const std::string what = Show(dest) + " " + Show(text) + " " + std::to_string(pos) + " " + std::to_string(count);
  FUZZ_CHECK(inserted.size() == dest.size() + text.size(), what);
  FUZZ_CHECK(inserted == fuzz::ModelInsert(dest, text, pos), what + " inserted " + Show(inserted));
  const std::string deleted = DeleteText(dest, pos, count);
  FUZZ_CHECK(deleted.size() <= dest.size(), what);
  FUZZ_CHECK(deleted == fuzz::ModelDelete(dest, pos, count), what + " deleted " + Show(deleted));
}

void CheckInsert(FuzzedDataProvider& in) {
  TNdInsert element;
  element.Str = in.ConsumeBool() ? Text(in) : "";
  element.SubStr = in.ConsumeBool() ? Text(in) : "";
  element.Position = in.ConsumeBool() ? Position(in, 8) : 0;
  Value arriving = SomeValue(in, false);
  Input str, sub, pos;
  str.Draw(in);
  sub.Draw(in);
  pos.Draw(in);
  element.StrInput = str.Link();
  element.SubStrInput = sub.Link();
  element.PositionInput = pos.Link();
  TProbe out;
  element.onInsert = MakeEvent<&TProbe::doReceive>(&out, 0);

  RaiseData(MakeEvent<&TNdInsert::doInsert>(&element, 0), arriving.ToData());

  Value record = arriving;
  std::string expected = "<none>";
  const std::string dest = ReadStr(record, str, element.Str);
  if (!dest.empty()) {
    const std::string text = ReadStr(record, sub, element.SubStr);
    expected = fuzz::ModelInsert(dest, text, ReadInt(record, pos, element.Position));
  }
  const std::string got = Received(out);
  FUZZ_CHECK(got == expected, "insert: Str " + Show(element.Str) + " SubStr " + Show(element.SubStr) +
                                  " Position " + std::to_string(element.Position) + " arriving " +
                                  Show(arriving.Str()) + " sent " + Show(got) + ", expected " + Show(expected));
}

void CheckDelete(FuzzedDataProvider& in) {
  TNdDelete element;
  element.Position = in.ConsumeBool() ? Position(in, 8) : 0;
  element.Count = in.ConsumeBool() ? Position(in, 8) : 0;
  Value arriving = SomeValue(in, false);
  Input str, pos, count;
  str.Draw(in);
  pos.Draw(in);
  count.Draw(in);
  element.StrInput = str.Link();
  element.PositionInput = pos.Link();
  element.CountInput = count.Link();
  TProbe out;
  element.onDelete = MakeEvent<&TProbe::doReceive>(&out, 0);

  RaiseData(MakeEvent<&TNdDelete::doDelete>(&element, 0), arriving.ToData());

  Value record = arriving;
  std::string expected = "<none>";
  const std::string source = ReadStr(record, str, "");
  if (!source.empty()) {
    const std::int32_t p = ReadInt(record, pos, element.Position);
    expected = fuzz::ModelDelete(source, p, ReadInt(record, count, element.Count));
  }
  const std::string got = Received(out);
  FUZZ_CHECK(got == expected, "delete: Position " + std::to_string(element.Position) + " Count " +
                                  std::to_string(element.Count) + " arriving " + Show(arriving.Str()) +
                                  " sent " + Show(got) + ", expected " + Show(expected));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InstallDispatchers();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 2)) {
      case 0: CheckFunctions(in); break;
      case 1: CheckInsert(in); break;
      default: CheckDelete(in); break;
    }
  }
  return 0;
}
