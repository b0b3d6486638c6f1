#include "hub.h"

void TNdHub::SetOutCount(std::uint16_t n) {
  const std::uint8_t count = n > 255 ? 255 : static_cast<std::uint8_t>(n);
  onEvent.resize(count);
  OutCount = count;
}

void TNdHub::doEvent(TData& data, std::uint16_t) {
  const std::size_t count = OutCount;
  for (std::size_t i = 0; i < count && i < onEvent.size(); ++i) {
    // A copy of the link: the chain behind it may resize onEvent and move the entries.
    const TNd_Event link = onEvent[i];
    RaiseData(link, data);
  }
}
