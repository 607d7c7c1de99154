// A modem reply in one interpretation mode, followed by the split of what the parser leaves in
// the buffer into the remembered wireless fields, as the wireless page does after a read.
//
// Input: the first byte minus '0' is the mode ('0'..'3' the four modes, anything else a mode the
// parser does not know); the rest is the reply as one receive delivers it: at most 260 bytes,
// NULs and all. Each reply is parsed with no value list, a short one and the client's own.

#include <cstring>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "core/protocol/DeviceClient.h"
#include "core/protocol/ReplyMode.h"
#include "core/protocol/ReplyParser.h"
#include "core/protocol/WirelessRequests.h"
#include "core/session/SessionFields.h"

namespace {

void ParseOnce(int mode, std::string_view received, std::size_t listSize) {
    // Exactly as long as the reply and its terminator, so a step past either is caught.
    std::vector<char> buffer(received.begin(), received.end());
    buffer.push_back('\0');
    const std::size_t replyLength = std::strlen(buffer.data());
    const std::string before(buffer.data());
    std::vector<char> list(listSize, '\0');
    char* valueList = listSize ? list.data() : nullptr;

    const int result = ParseReplyText(mode, buffer.data(), valueList, listSize);

    FUZZ_CHECK(std::strlen(buffer.data()) <= replyLength);
    if (listSize) FUZZ_CHECK(strnlen(valueList, listSize) < listSize);
    const bool pairs = before.find('?') != std::string::npos;
    if (!pairs) FUZZ_CHECK(result == 0 && before == buffer.data());
    switch (mode) {
        case ReplyWirelessGet:
            FUZZ_CHECK(result == 0 || result == 1 || result == 2 || result == 3 || result == 10);
            // Once there are pairs, the buffer ends up holding the start of the value list.
            if (pairs && listSize) {
                FUZZ_CHECK(std::strncmp(buffer.data(), valueList, replyLength) == 0);
            }
            break;
        case ReplyLanTest:
            FUZZ_CHECK(result == 0 || result == 1);
            break;
        case ReplyReason:
        case ReplyWanTest:
            break;
        default:
            FUZZ_CHECK(result == 0 || result == 10);
    }

    SessionFields fields;
    StoreWirelessValues(buffer.data(), fields);
    for (const char* saved :
         {fields.wlSsidSaved, fields.wlChannelSaved, fields.wlAuthModeSaved, fields.wlKey1Saved,
          fields.wlKey2Saved, fields.wlKey3Saved, fields.wlKey4Saved, fields.wlKeyIndexSaved}) {
        FUZZ_CHECK(strnlen(saved, kRememberedSize) < kRememberedSize);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size - 1 > static_cast<std::size_t>(DeviceClient::kMaxReplyBytes)) return 0;
    const int mode = data[0] - '0';
    const std::string_view received(reinterpret_cast<const char*>(data + 1), size - 1);
    for (std::size_t listSize : {std::size_t{0}, std::size_t{8}, std::size_t{1024}}) {
        ParseOnce(mode, received, listSize);
    }
    return 0;
}
