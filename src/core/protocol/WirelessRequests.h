#pragma once

#include <optional>
#include <string>

#include "core/protocol/ExchangeLimits.h"
#include "core/protocol/RequestValue.h"
#include "core/session/SessionFields.h"
#include "core/session/WizardSession.h"

// The wireless write request for the record's security mode ("open", "WEP128", "WEP64", "WPA",
// compared exactly), with the user's texts as typed. Nothing for any other mode text, nor when
// a text it would carry holds "&" or a control byte; why (when given) tells which.
std::optional<std::string> FormatWirelessWriteRequest(const WizardSession& session,
                                                      RequestRefusal* why = nullptr);

// Splits the value list of a wireless read reply at "&" (runs count as one separator) and
// stores the first eight pieces as the modem sent them, in order, into wlSsidSaved, wlChannelSaved,
// wlAuthModeSaved, wlKey1Saved..wlKey4Saved and wlKeyIndexSaved. A piece of exactly four characters
// on a key field stands for an unset key and empties it.
void StoreWirelessValues(const char* valueList, SessionFields& fields);

// Reads the modem's wireless settings: sends "wl.wzd?method=get" to fields.modemIpAddress and
// stores the values of the reply as above. Returns the security mode code of the reply (0 open,
// 1 WEP128, 2 WEP64, 3 WPA, 10 other, 0 when the reply names none), or 1 when the exchange
// failed; exchanged (when given) tells a failure apart from a WEP128 reply. buffer must hold at
// least 261 bytes; it ends up holding the value list.
unsigned ReadWirelessSettings(char* buffer, int bufferSize, SessionFields& fields,
                              bool* exchanged = nullptr,
                              const ExchangeLimits& limits = kDefaultLimits);
