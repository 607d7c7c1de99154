// The readers of the DHCP clients' files: a dhclient lease file, a networkd lease or link state
// file and a networkd .network file. The input is the whole text of the file; every reader runs
// on it. The files belong to the system, but a lease file's contents come from whatever DHCP
// server answered, so any text is possible.

#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "detection/adapters/LeaseFiles.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A server address read from the file: a dotted address that the file itself holds.
void CheckServer(const std::string& server, std::string_view text) {
    if (server.empty()) return;
    FUZZ_CHECK(IsDottedIpv4(server));
    FUZZ_CHECK(text.find(server) != std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    CheckServer(DhclientLeaseServer(text, ""), text);
    CheckServer(DhclientLeaseServer(text, "eth0"), text);
    CheckServer(NetworkdLeaseServer(text), text);

    for (std::string_view key : {"SERVER_ADDRESS", "OPER_STATE", "DHCP_LEASE"}) {
        const std::string value = KeyValueOf(text, key);
        if (value.empty()) continue;
        // One line's value, trimmed.
        FUZZ_CHECK(value.find('\n') == std::string::npos);
        FUZZ_CHECK(!IsBlank(value.front()) && !IsBlank(value.back()));
        FUZZ_CHECK(text.find(value) != std::string_view::npos);
    }

    if (NetworkFileWantsDhcp4(text)) {
        FUZZ_CHECK(text.find("[Network]") != std::string_view::npos);
    }
    return 0;
}
