#pragma once

// How a reply is interpreted; one mode per kind of request.
enum ReplyMode : int {
    ReplyWirelessGet = 0,  // reply to "wl.wzd?method=get"
    ReplyReason = 1,       // replies to the WAN and wireless configuration requests
    ReplyLanTest = 2,      // reply to the LAN test
    ReplyWanTest = 3,      // reply to the Internet test
};
