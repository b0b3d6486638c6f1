#include "do_data.h"

void TNdDoData::doData(TData& data, std::uint16_t) {
  // What arrived is discarded, so an unset Data can never pick it up as the input's fallback.
  MakeNull(data);
  const TData value = ReadData(data, DataInput, &Data);
  DeferData(data, onData, value);
}
