#pragma once

#include "core/session/SessionFields.h"

// The failure and validation messages of the wizard in its five languages (0 English, 1 French,
// 2 German, 3 Italian, 4 Spanish), built into the program. Start on the home page copies the
// texts of the current language into the message fields of the session; the pages show those
// fields.

constexpr int kLanguageCount = 5;

// The fourteen messages, in the order in which they are loaded.
enum MessageId {
    kMsgModemNotDetected,
    kMsgUnknownError,
    kMsgPppPasswordMismatch,
    kMsgDhcpFailed,
    kMsgDslFailed,
    kMsgInternetFailed,
    kMsgEmptyValue,
    kMsgNumber0To255,
    kMsgNumber32To65535,
    kMsgWriteFailed,
    kMsgBadValueType,
    kMsgLength13,
    kMsgLength5,
    kMsgLength8To63,
    kMessageCount
};

// The UTF-8 text of a message in a language; a language index outside 0..4 gives English.
// nullptr for an id outside the fourteen.
const char* LocalizedMessage(int languageIndex, MessageId id);

// Copies the fourteen texts of session.languageIndex into the session's message fields,
// replacing whatever they held.
void LoadLocalizedMessages(SessionFields& session);
// The same on the program's session.
void LoadLocalizedMessages();

// Shown by the modem detection, not loaded into the session: the system refused an ordinary
// user the permission to renew the network connection (or nobody could be asked for it), so the
// modem is looked for with the connection as it is. Says what to do about it. Same language
// rule as LocalizedMessage.
const char* NotAuthorizedMessage(int languageIndex);
