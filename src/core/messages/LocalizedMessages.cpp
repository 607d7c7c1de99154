#include "core/messages/LocalizedMessages.h"

#include <cstddef>
#include <string>

#include "core/session/TextBuffer.h"

namespace {

// One row per language, one column per MessageId. "\n" breaks a message into lines.
constexpr const char* kTexts[kLanguageCount][kMessageCount] = {
    // English
    {
        "Modem not detected! Please check the following:\n1. The power adapter is connected to "
        "your modem and an electrical outlet.\n2. Your modem's Ethernet cable is properly "
        "connected to your computer.\n3. Network card is properly installed in your computer.",
        "Unknown error!",
        "PPP password does not match! Please confirm the PPP password again.",
        "DHCP connection fail! Please retry the diagnostics or contact your Internet Service "
        "Provider.",
        "DSL connection fail! Please confirm the selected Internet Service Provider.",
        "Internet connection fail! Please check with your Internet Service Provider.",
        "Empty value is not allowed!",
        "Please enter a number between 0 and 255!",
        "Please enter a number between 32 and 65535!",
        "Fail to write data to file!",
        "Bad value type!",
        "Please enter a string whose length is 13!",
        "Please enter a string whose length is 5!",
        "Please enter a string whose length is between 8 and 63!",
    },
    // French
    {
        "Modem non détecté! Merci de vérifier les points suivants:\n1. L'adaptateur électrique est "
        "bien connecté au modem et à la prise.\n2 Le câble Ethernet est correctement branché sur "
        "votre ordinateur.\n3. La carte réseau est installée correctement dans votre ordinateur.",
        "Erreur inconnue!",
        "Le Mot de Passe PPP n'est pas le même ! Merci de le confirmer une nouvelle fois.",
        "Erreur de connexion DHCP! Merci de refaire les diagnostiques ou de contacter votre "
        "Fournisseur d'Accès Internet.",
        "Erreur de connexion DSL! Merci de vérifier le FAI sélectionné.",
        "Erreur de connexion Internet! Merci de vérifier avec votre Fournisseur d'Accès Internet.",
        "Valeur vide non autorisée!",
        "Merci de saisir un nombre entre 0 et 255!",
        "Merci de saisir un nombre entre 32 et 65535!",
        "Impossible d'écrire les données dans le fichier!",
        "Mauvais type de valeur!",
        "Merci de saisir une valeur dont la longueur est 13!",
        "Merci de saisir une valeur dont la longueur est 5!",
        "Merci de saisir une valeur dont la longueur est entre 8 et 63!",
    },
    // German
    {
        "Das Modem ist nicht verbunden! Biite überprüfen Sie die folgenden Punkte:\n1. Das "
        "Netzteil ist mit dem Modem verbunden.\n2. Ein Netzwerkkabel ist mit dem Modem und ihrem "
        "PC verbunden.\n3. Die Netzwerkkarte ist ordnungsgemäß installiert und funktioniert.",
        "Unbekannter Fehler!",
        "PPP Passwort ist nicht korrekt! Bitte überprüfen Sie ihr PPP-Passwort.",
        "DHCP-Verbindung fehlgeschlagen! Führen Sie eine Diagnose aus oder kontaktieren sie ihren "
        "Internet Provider.",
        "DSL-Verbindung fehlgeschlagen! Bitte überprüfen Sie die Werte des ausgewählten Internet "
        "Providers!",
        "Internet-Verbindung fehlgeschlagen! Bitte kontaktieren Sie ihren Internet Provider.",
        "Ein leerer Wert ist nicht erlaubt!",
        "Bitte geben Sie eine Nummer zwischen 0 und 255 ein!",
        "Bitte geben Sie eine Nummer zwischen 32 und 65535 ein!",
        "Schreibfehler bei dem Zugriff auf die Datei!",
        "Falsche Wertart!",
        "Bitte geben Sie eine Zeichenkette ein dessen Länge gleich 13 Zeichen ist!",
        "Bitte geben Sie eine Zeichenkette ein dessen Länge gleich 5 Zeichen ist!",
        "Bitte geben Sie eine Zeichenkette. Die Länge ist zwischen 8 und 63 ein!",
    },
    // Italian
    {
        "Modem non rilevato! Prego controllare come segue:\n1. L’alimentatore è connesso al modem "
        "e alla presa di corrente a muro.\n2. Il cavo Ethernet del vostro modem è connesso in modo "
        "corretto al vostro computer.\n3. La scheda di rete è correttamente installata nel vostro "
        "computer.",
        "Errore sconosciuto!",
        "La password PPP non corrisponde! Prego confermare la password PPP.",
        "Connessione DHCP fallita! Prego riprovare con la diagnostica o contattare il vostro "
        "Internet Service Provider.",
        "Connessione DSL fallita! Prego confermare l'Internet Service Provider selezionato.",
        "Connessione Internet fallita! Prego eseguire un controllo generale con il vostro Internet "
        "Service Provider.",
        "Il campo vuoto non è permesso!",
        "Prego inserire un numero fra 0 e 255!",
        "Prego inserire un numero fra 32 e 65535!",
        "Tentativo fallito di scrittura sul file!",
        "Tipo di valore errato!",
        "Prego inserire una stringa la cui lunghezza è 13!",
        "Prego inserire una stringa la cui lunghezza è 5!",
        "Prego inserire una stringa la cui lunghezza è  fra 8 e 63!",
    },
    // Spanish
    {
        "¡No se ha detectado el módem! Compruebe lo siguiente:\n1. El adaptador de alimentación "
        "está conectado al módem y a una base eléctrica.\n2. El cable del módem Ethernet está "
        "correctamente conectado al ordenador.\n3. La tarjeta de red está correctamente instalada "
        "en el ordenador.",
        "Error desconocido!",
        "¡La clave de acceso PPP no coincide! Confirme de nuevo la clave de acceso PPP.",
        "¡Error en la conexión DHCP! Intente de nuevo los diagnósticos o contacte con su proveedor "
        "de servicios internet.",
        "¡Error en la conexión DSL! Confirme el proveedor de servicios internet.",
        "¡Error en la conexión internet! Compruebe los datos con su proveedor de servicios "
        "internet.",
        "No puede ser el valor cero!",
        "Incorpore por favor un valor entre 0 y 255!",
        "Incorpore por favor un valor entre 32 y 65535!",
        "Los datos de ahorro fallaron!",
        "Tipo de valor incorrecto.",
        "Entre en por favor una secuencia que longitud sea 13!",
        "Entre en por favor una secuencia que longitud sea 5!",
        "La longitud de la secuencia debe estar entre 8 y 63!",
    },
};

int LanguageRow(int languageIndex) {
    return languageIndex >= 0 && languageIndex < kLanguageCount ? languageIndex : 0;
}

// True when the message, in every language, fits a field of this size with its terminator.
constexpr bool FitsEveryLanguage(MessageId id, std::size_t capacity) {
    for (const auto& row : kTexts) {
        if (std::char_traits<char>::length(row[id]) >= capacity) return false;
    }
    return true;
}

// Copies one message into its field; the size of the field is checked against every language
// when the program is built, so the bounded copy never has to cut.
template <MessageId Id, std::size_t N>
void LoadInto(char (&field)[N], int row) {
    static_assert(FitsEveryLanguage(Id, N), "a message text is longer than its session field");
    CopyText(field, kTexts[row][Id]);
}

constexpr const char* kNotAuthorized[kLanguageCount] = {
    "Your computer's network connection could not be renewed because permission was refused. "
    "The setup now looks for the modem using the current connection. If the modem is not found, "
    "run the setup again and enter your password when you are asked for it, or ask the person "
    "who manages this computer for help.",
    "La connexion réseau de votre ordinateur n'a pas pu être renouvelée, car l'autorisation a "
    "été refusée. L'assistant recherche maintenant le modem avec la connexion actuelle. Si le "
    "modem n'est pas détecté, relancez l'assistant et saisissez votre mot de passe lorsqu'il "
    "vous est demandé, ou demandez de l'aide à la personne qui gère cet ordinateur.",
    "Die Netzwerkverbindung Ihres Computers konnte nicht erneuert werden, weil die Berechtigung "
    "verweigert wurde. Das Modem wird jetzt über die bestehende Verbindung gesucht. Wird es "
    "nicht gefunden, starten Sie die Einrichtung erneut und geben Sie Ihr Passwort ein, wenn Sie "
    "danach gefragt werden, oder wenden Sie sich an die Person, die diesen Computer betreut.",
    "Non è stato possibile rinnovare la connessione di rete del computer perché "
    "l'autorizzazione è stata negata. La procedura cerca ora il modem con la connessione "
    "attuale. Se il modem non viene trovato, avviate di nuovo la procedura e inserite la vostra "
    "password quando vi viene richiesta, oppure chiedete aiuto a chi gestisce questo computer.",
    "No se ha podido renovar la conexión de red del ordenador porque se ha denegado el permiso. "
    "El asistente busca ahora el módem con la conexión actual. Si no se encuentra el módem, "
    "vuelva a ejecutar el asistente e introduzca su contraseña cuando se le pida, o pida ayuda a "
    "la persona que administra este ordenador.",
};

}  // namespace

const char* NotAuthorizedMessage(int languageIndex) {
    return kNotAuthorized[LanguageRow(languageIndex)];
}

const char* LocalizedMessage(int languageIndex, MessageId id) {
    if (id < 0 || id >= kMessageCount) return nullptr;
    return kTexts[LanguageRow(languageIndex)][id];
}

void LoadLocalizedMessages(SessionFields& session) {
    const int row = LanguageRow(session.languageIndex);
    LoadInto<kMsgModemNotDetected>(session.msgModemNotDetected, row);
    LoadInto<kMsgUnknownError>(session.msgUnknownError, row);
    LoadInto<kMsgPppPasswordMismatch>(session.msgPppPasswordMismatch, row);
    LoadInto<kMsgDhcpFailed>(session.msgDhcpFailed, row);
    LoadInto<kMsgDslFailed>(session.msgDslFailed, row);
    LoadInto<kMsgInternetFailed>(session.msgInternetFailed, row);
    LoadInto<kMsgEmptyValue>(session.msgEmptyValue, row);
    LoadInto<kMsgNumber0To255>(session.msgNumber0To255, row);
    LoadInto<kMsgNumber32To65535>(session.msgNumber32To65535, row);
    LoadInto<kMsgWriteFailed>(session.msgWriteFailed, row);
    LoadInto<kMsgBadValueType>(session.msgBadValueType, row);
    LoadInto<kMsgLength13>(session.msgLength13, row);
    LoadInto<kMsgLength5>(session.msgLength5, row);
    LoadInto<kMsgLength8To63>(session.msgLength8To63, row);
}

void LoadLocalizedMessages() {
    LoadLocalizedMessages(Session());
}
