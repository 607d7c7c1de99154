#pragma once

#include <optional>
#include <string>

#include "core/protocol/ExchangeLimits.h"
#include "core/protocol/RequestValue.h"
#include "core/session/SessionFields.h"
#include "core/session/WizardSession.h"

// The WAN configuration request for the record's protocol, with edit= as given and the user's
// texts as typed. Nothing for a protocol code this request has no form for (4, or above 5), nor
// when a text it would carry holds "&" or a control byte; why (when given) tells which.
std::optional<std::string> FormatWanRequest(const WizardSession& session, int edit,
                                            RequestRefusal* why = nullptr);

// Results of BuildAndSendSettings besides 0 (both accepted), 1 (WAN exchange failed) and the
// modem's own non-zero reasons for a refused WAN request.
constexpr int kApplyUnsupportedProtocol = 10;
constexpr int kApplyWirelessFailed = 11;
constexpr int kApplyUncarriableValue = 12;  // nothing was sent

// Sends the WAN request to fields.modemIpAddress and, once the modem has accepted it, the
// wireless write request. After an accepted WAN request wanConnectionCreated becomes 1, so every
// later WAN request of the run edits the connection instead of creating another. A text that
// either request could not carry stops it before the first exchange.
int BuildAndSendSettings(const WizardSession& session, SessionFields& fields,
                         const ExchangeLimits& limits = kDefaultLimits);
