#include "resources/PageTexts.h"

#include <cstddef>
#include <iterator>

namespace {

// French typography wants a no-break space before two-part punctuation and inside guillemets.
#define NBSP "\u00a0"

struct Row {
    PageText id;
    const char* english;
    const char* french;
    const char* german;
    const char* italian;
    const char* spanish;
};

constexpr Row kRows[] = {
    {PageText::ModelLine, "HX4260RB ADSL modem-router", "Modem-routeur ADSL HX4260RB",
     "ADSL-Modem-Router HX4260RB", "Modem router ADSL HX4260RB", "Módem router ADSL HX4260RB"},
    {PageText::StageConnect, "Connect", "Connexion", "Anschluss", "Collegamento", "Conexión"},
    {PageText::StageInternet, "Internet", "Internet", "Internet", "Internet", "Internet"},
    {PageText::StageWireless, "Wireless", "Sans fil", "WLAN", "Wireless", "Wi-Fi"},
    {PageText::StageFinish, "Finish", "Finalisation", "Abschluss", "Conclusione", "Finalización"},

    {PageText::ButtonExit, "Exit", "Quitter", "Beenden", "Esci", "Salir"},
    {PageText::ButtonBack, "Back", "Précédent", "Zurück", "Indietro", "Atrás"},
    {PageText::ButtonNext, "Next", "Suivant", "Weiter", "Avanti", "Siguiente"},
    {PageText::ButtonClose, "Close", "Fermer", "Schließen", "Chiudi", "Cerrar"},
    {PageText::ButtonStart, "Start", "Démarrer", "Starten", "Avvia", "Iniciar"},
    {PageText::ButtonManual, "User manual", "Manuel d’utilisation", "Benutzerhandbuch",
     "Manuale utente", "Manual del usuario"},
    {PageText::ButtonGuide, "Quick installation guide", "Guide d’installation rapide",
     "Kurzanleitung", "Guida rapida all’installazione", "Guía de instalación rápida"},
    {PageText::ButtonAcrobat, "Install Acrobat Reader", "Installer Acrobat Reader",
     "Acrobat Reader installieren", "Installa Acrobat Reader", "Instalar Acrobat Reader"},
    {PageText::ButtonSupport, "Technical support", "Assistance technique", "Technischer Support",
     "Assistenza tecnica", "Soporte técnico"},
    {PageText::ButtonFinish, "Finish", "Terminer", "Fertigstellen", "Fine", "Finalizar"},

    {PageText::HomeTitle, "Welcome", "Bienvenue", "Willkommen", "Benvenuti", "Bienvenido"},
    {PageText::HomeIntro,
     "This wizard sets up your HX4260RB modem-router and connects your computer to the "
     "Internet in a few simple steps.",
     "Cet assistant configure votre modem-routeur HX4260RB et connecte votre ordinateur à "
     "Internet en quelques étapes simples.",
     "Dieser Assistent richtet Ihren Modem-Router HX4260RB ein und verbindet Ihren Computer in "
     "wenigen einfachen Schritten mit dem Internet.",
     "Questa procedura guidata configura il modem router HX4260RB e collega il computer a "
     "Internet in pochi semplici passaggi.",
     "Este asistente configura su módem router HX4260RB y conecta su ordenador a Internet en "
     "unos sencillos pasos."},
    {PageText::HomeChecklist, "Before you begin, please have ready:",
     "Avant de commencer, munissez-vous de" NBSP ":", "Halten Sie bitte Folgendes bereit:",
     "Prima di iniziare, tenere a portata di mano:", "Antes de empezar, tenga a mano:"},
    {PageText::HomeBulletModem, "the modem, its power adapter and the cables from the box",
     "le modem, son adaptateur secteur et les câbles fournis",
     "das Modem, das Netzteil und die mitgelieferten Kabel",
     "il modem, l’alimentatore e i cavi in dotazione",
     "el módem, su adaptador de corriente y los cables incluidos"},
    {PageText::HomeBulletAccount,
     "the details from your Internet service provider: user name and password, or IP addresses",
     "les informations de votre fournisseur d’accès" NBSP ": nom d’utilisateur et mot de passe, "
     "ou adresses IP",
     "die Zugangsdaten Ihres Internetanbieters: Benutzername und Kennwort oder IP-Adressen",
     "i dati forniti dal provider Internet: nome utente e password oppure indirizzi IP",
     "los datos de su proveedor de Internet: nombre de usuario y contraseña, o direcciones IP"},
    {PageText::HomeBulletTime, "about ten minutes of your time", "une dizaine de minutes",
     "etwa zehn Minuten Zeit", "una decina di minuti", "unos diez minutos"},
    {PageText::HomeDocuments, "Documents and support", "Documents et assistance",
     "Dokumente und Support", "Documenti e assistenza", "Documentación y soporte"},
    {PageText::HomeStartHint, "Ready? Click Start to begin the setup.",
     "Prêt" NBSP "? Cliquez sur Démarrer pour lancer la configuration.",
     "Bereit? Klicken Sie auf „Starten“, um die Einrichtung zu beginnen.",
     "Tutto pronto? Fare clic su Avvia per iniziare la configurazione.",
     "¿Listo? Haga clic en Iniciar para comenzar la configuración."},

    {PageText::CablesTitle, "Connect the cables", "Branchez les câbles", "Kabel anschließen",
     "Collegare i cavi", "Conecte los cables"},
    {PageText::CablesIntro, "Connect your modem as shown below before you switch it on.",
     "Branchez votre modem comme illustré ci-dessous avant de le mettre sous tension.",
     "Schließen Sie das Modem wie unten gezeigt an, bevor Sie es einschalten.",
     "Collegare il modem come mostrato di seguito prima di accenderlo.",
     "Conecte el módem como se muestra a continuación antes de encenderlo."},
    {PageText::CablesDsl,
     "Connect the DSL port of the modem to the telephone wall socket with the telephone cable. "
     "If you also use a telephone on this line, connect the cable through the splitter or "
     "microfilter.",
     "Reliez le port DSL du modem à la prise téléphonique murale avec le câble téléphonique. Si "
     "vous utilisez aussi un téléphone sur cette ligne, passez par le filtre ou le séparateur "
     "ADSL.",
     "Verbinden Sie den DSL-Anschluss des Modems über das Telefonkabel mit der Telefondose. Wenn "
     "Sie an dieser Leitung auch telefonieren, schließen Sie das Kabel über den Splitter an.",
     "Collegare la porta DSL del modem alla presa telefonica a muro con il cavo telefonico. Se "
     "sulla stessa linea si usa anche un telefono, collegare il cavo tramite lo splitter o il "
     "microfiltro.",
     "Conecte el puerto DSL del módem a la roseta telefónica con el cable de teléfono. Si "
     "también usa un teléfono en esta línea, conecte el cable a través del splitter o "
     "microfiltro."},
    {PageText::CablesLan,
     "Connect one of the LAN ports of the modem to the network port of your computer with the "
     "Ethernet cable.",
     "Reliez l’un des ports LAN du modem au port réseau de votre ordinateur avec le câble "
     "Ethernet.",
     "Verbinden Sie einen der LAN-Anschlüsse des Modems über das Ethernet-Kabel mit dem "
     "Netzwerkanschluss Ihres Computers.",
     "Collegare una delle porte LAN del modem alla porta di rete del computer con il cavo "
     "Ethernet.",
     "Conecte uno de los puertos LAN del módem al puerto de red de su ordenador con el cable "
     "Ethernet."},
    {PageText::CablesNext, "Click Next when the cables are connected.",
     "Cliquez sur Suivant une fois les câbles branchés.",
     "Klicken Sie auf „Weiter“, sobald die Kabel angeschlossen sind.",
     "Fare clic su Avanti dopo aver collegato i cavi.",
     "Haga clic en Siguiente cuando los cables estén conectados."},
    {PageText::FigureWallSocket, "Telephone socket", "Prise téléphonique", "Telefondose",
     "Presa telefonica", "Roseta telefónica"},
    {PageText::FigureModem, "Modem", "Modem", "Modem", "Modem", "Módem"},
    {PageText::FigureComputer, "Computer", "Ordinateur", "Computer", "Computer", "Ordenador"},

    {PageText::PowerTitle, "Switch on the modem", "Mettez le modem sous tension",
     "Modem einschalten", "Accendere il modem", "Encienda el módem"},
    {PageText::PowerAdapter,
     "Connect the power adapter to the POWER socket of the modem and to a mains outlet.",
     "Branchez l’adaptateur secteur sur la prise POWER du modem et sur une prise électrique.",
     "Schließen Sie das Netzteil an die Buchse POWER des Modems und an eine Steckdose an.",
     "Collegare l’alimentatore alla presa POWER del modem e a una presa di corrente.",
     "Conecte el adaptador de corriente a la toma POWER del módem y a un enchufe."},
    {PageText::PowerSwitch, "Press the power switch. The POWER light comes on.",
     "Appuyez sur l’interrupteur marche/arrêt. Le voyant POWER s’allume.",
     "Drücken Sie den Ein-/Ausschalter. Die Anzeige POWER leuchtet auf.",
     "Premere l’interruttore di accensione. La spia POWER si accende.",
     "Pulse el interruptor de encendido. Se enciende el indicador POWER."},
    {PageText::PowerWait,
     "Wait about one minute until the DSL light stays on. If it keeps flashing, check the "
     "telephone cable.",
     "Patientez environ une minute jusqu’à ce que le voyant DSL reste allumé. S’il continue de "
     "clignoter, vérifiez le câble téléphonique.",
     "Warten Sie etwa eine Minute, bis die Anzeige DSL dauerhaft leuchtet. Blinkt sie weiter, "
     "prüfen Sie das Telefonkabel.",
     "Attendere circa un minuto finché la spia DSL resta accesa. Se continua a lampeggiare, "
     "controllare il cavo telefonico.",
     "Espere alrededor de un minuto hasta que el indicador DSL quede encendido. Si sigue "
     "parpadeando, compruebe el cable de teléfono."},
    {PageText::PowerLights, "Lights on the front of the modem", "Voyants en façade du modem",
     "Anzeigen an der Vorderseite des Modems", "Spie sul pannello frontale del modem",
     "Indicadores del panel frontal del módem"},
    {PageText::PowerNext, "Click Next when the DSL light stays on.",
     "Cliquez sur Suivant lorsque le voyant DSL reste allumé.",
     "Klicken Sie auf „Weiter“, sobald die Anzeige DSL dauerhaft leuchtet.",
     "Fare clic su Avanti quando la spia DSL resta accesa.",
     "Haga clic en Siguiente cuando el indicador DSL quede encendido."},

    {PageText::PcTitle, "Prepare your computer", "Préparez votre ordinateur",
     "Computer vorbereiten", "Preparare il computer", "Prepare su ordenador"},
    {PageText::PcIntro,
     "The wizard finds your modem through the network connection of your computer. This "
     "connection must take its settings from the modem.",
     "L’assistant recherche votre modem par la connexion réseau de votre ordinateur. Cette "
     "connexion doit recevoir ses paramètres du modem.",
     "Der Assistent sucht das Modem über die Netzwerkverbindung Ihres Computers. Diese "
     "Verbindung muss ihre Einstellungen vom Modem beziehen.",
     "La procedura guidata cerca il modem attraverso la connessione di rete del computer. Questa "
     "connessione deve ricevere le impostazioni dal modem.",
     "El asistente busca el módem a través de la conexión de red de su ordenador. Esta conexión "
     "debe obtener su configuración del módem."},
    {PageText::PcDhcp, "Set the network connection to obtain an IP address automatically (DHCP).",
     "Réglez la connexion réseau pour obtenir une adresse IP automatiquement (DHCP).",
     "Stellen Sie die Netzwerkverbindung auf „IP-Adresse automatisch beziehen“ (DHCP) ein.",
     "Impostare la connessione di rete in modo da ottenere automaticamente un indirizzo IP "
     "(DHCP).",
     "Configure la conexión de red para obtener una dirección IP automáticamente (DHCP)."},
    {PageText::PcDns, "Set it to obtain the DNS server address automatically as well.",
     "Réglez-la également pour obtenir l’adresse du serveur DNS automatiquement.",
     "Stellen Sie ebenso „DNS-Serveradresse automatisch beziehen“ ein.",
     "Impostarla anche per ottenere automaticamente l’indirizzo del server DNS.",
     "Configúrela también para obtener automáticamente la dirección del servidor DNS."},
    {PageText::PcNote,
     "Most computers are already set up this way, so there is usually nothing to change.",
     "La plupart des ordinateurs sont déjà configurés ainsi" NBSP ": en général, il n’y a rien à "
     "modifier.",
     "Die meisten Computer sind bereits so eingestellt; meist ist also nichts zu ändern.",
     "La maggior parte dei computer è già impostata così, quindi di solito non occorre "
     "modificare nulla.",
     "La mayoría de los ordenadores ya están configurados así, por lo que normalmente no hay "
     "nada que cambiar."},
    {PageText::PcNext,
     "Click Next: the wizard then looks for your modem. This can take up to a minute.",
     "Cliquez sur Suivant" NBSP ": l’assistant recherche alors votre modem. Cela peut prendre "
     "jusqu’à une minute.",
     "Klicken Sie auf „Weiter“: Der Assistent sucht dann Ihr Modem. Das kann bis zu einer "
     "Minute dauern.",
     "Fare clic su Avanti: la procedura guidata cercherà il modem. Può richiedere fino a un "
     "minuto.",
     "Haga clic en Siguiente: el asistente buscará su módem. Puede tardar hasta un minuto."},

    {PageText::DetectTitle, "Detecting your modem…", "Recherche du modem…", "Modem wird gesucht…",
     "Ricerca del modem in corso…", "Buscando el módem…"},
    {PageText::DetectBody, "Please wait while the wizard looks for your modem on the network.",
     "Veuillez patienter pendant que l’assistant recherche votre modem sur le réseau.",
     "Bitte warten Sie, während der Assistent Ihr Modem im Netzwerk sucht.",
     "Attendere mentre la procedura guidata cerca il modem nella rete.",
     "Espere mientras el asistente busca su módem en la red."},
    {PageText::DetectHint,
     "This can take up to a minute. Please do not unplug any cable in the meantime.",
     "Cela peut prendre jusqu’à une minute. Ne débranchez aucun câble pendant ce temps.",
     "Das kann bis zu einer Minute dauern. Ziehen Sie in dieser Zeit bitte kein Kabel ab.",
     "L’operazione può richiedere fino a un minuto. Nel frattempo non scollegare alcun cavo.",
     "Puede tardar hasta un minuto. Mientras tanto, no desconecte ningún cable."},

    {PageText::FoundTitle, "Modem found", "Modem détecté", "Modem gefunden", "Modem rilevato",
     "Módem encontrado"},
    {PageText::FoundBody,
     "The wizard has found your HX4260RB modem-router and can now configure it.",
     "L’assistant a détecté votre modem-routeur HX4260RB et peut maintenant le configurer.",
     "Der Assistent hat Ihren Modem-Router HX4260RB gefunden und kann ihn jetzt einrichten.",
     "La procedura guidata ha rilevato il modem router HX4260RB e ora può configurarlo.",
     "El asistente ha encontrado su módem router HX4260RB y ya puede configurarlo."},
    {PageText::FoundNext, "Click Next to enter the details of your Internet connection.",
     "Cliquez sur Suivant pour saisir les informations de votre connexion Internet.",
     "Klicken Sie auf „Weiter“, um die Daten Ihres Internetzugangs einzugeben.",
     "Fare clic su Avanti per inserire i dati della connessione Internet.",
     "Haga clic en Siguiente para introducir los datos de su conexión a Internet."},

    {PageText::IspTitle, "Internet service provider", "Fournisseur d’accès à Internet",
     "Internetanbieter", "Provider Internet", "Proveedor de Internet"},
    {PageText::IspIntro,
     "Choose your country and your Internet service provider: the connection settings are then "
     "filled in for you. Change them only if your provider gave you other values.",
     "Choisissez votre pays et votre fournisseur d’accès" NBSP ": les paramètres de connexion "
     "sont alors remplis pour vous. Ne les modifiez que si votre fournisseur vous a communiqué "
     "d’autres valeurs.",
     "Wählen Sie Ihr Land und Ihren Internetanbieter: Die Verbindungseinstellungen werden dann "
     "für Sie eingetragen. Ändern Sie sie nur, wenn Ihr Anbieter andere Werte vorgibt.",
     "Scegliere il paese e il provider Internet: le impostazioni di connessione vengono "
     "compilate automaticamente. Modificarle solo se il provider ha indicato valori diversi.",
     "Elija su país y su proveedor de Internet: los parámetros de conexión se rellenan "
     "automáticamente. Cámbielos solo si su proveedor le ha indicado otros valores."},
    {PageText::IspProviderSection, "Your provider", "Votre fournisseur", "Ihr Anbieter",
     "Il vostro provider", "Su proveedor"},
    {PageText::IspConnectionSection, "Connection settings", "Paramètres de connexion",
     "Verbindungseinstellungen", "Impostazioni di connessione", "Parámetros de conexión"},
    {PageText::IspCountry, "Country", "Pays", "Land", "Paese", "País"},
    {PageText::IspProvider, "ISP", "Fournisseur", "Anbieter", "Provider", "Proveedor"},
    {PageText::IspProtocol, "Protocol", "Protocole", "Protokoll", "Protocollo", "Protocolo"},
    {PageText::IspEncapsulation, "Encapsulation", "Encapsulation", "Kapselung", "Incapsulamento",
     "Encapsulación"},
    {PageText::IspVpi, "VPI: [0-255]", "VPI" NBSP ": [0-255]", "VPI: [0-255]", "VPI: [0-255]",
     "VPI: [0-255]"},
    {PageText::IspVci, "VCI: [32-65535]", "VCI" NBSP ": [32-65535]", "VCI: [32-65535]",
     "VCI: [32-65535]", "VCI: [32-65535]"},
    {PageText::IspHint,
     "Country or provider not listed? Choose “Other” and enter the values your provider gave "
     "you.",
     "Pays ou fournisseur absent de la liste" NBSP "? Choisissez «" NBSP "Other" NBSP "» et "
     "saisissez les valeurs indiquées par votre fournisseur.",
     "Land oder Anbieter nicht aufgeführt? Wählen Sie „Other“ und geben Sie die Werte Ihres "
     "Anbieters ein.",
     "Paese o provider non in elenco? Scegliere «Other» e inserire i valori forniti dal "
     "provider.",
     "¿Su país o proveedor no aparece? Elija «Other» e introduzca los valores que le ha dado su "
     "proveedor."},

    {PageText::PppoeTitle, "Internet account (PPPoE)", "Compte Internet (PPPoE)",
     "Internetzugang (PPPoE)", "Account Internet (PPPoE)", "Cuenta de Internet (PPPoE)"},
    {PageText::PppoaTitle, "Internet account (PPPoA)", "Compte Internet (PPPoA)",
     "Internetzugang (PPPoA)", "Account Internet (PPPoA)", "Cuenta de Internet (PPPoA)"},
    {PageText::PppIntro,
     "Enter the user name and password of your Internet account exactly as your provider gave "
     "them to you.",
     "Saisissez le nom d’utilisateur et le mot de passe de votre compte Internet exactement "
     "comme votre fournisseur vous les a communiqués.",
     "Geben Sie Benutzername und Kennwort Ihres Internetzugangs genau so ein, wie Ihr Anbieter "
     "sie Ihnen mitgeteilt hat.",
     "Inserire nome utente e password dell’account Internet esattamente come comunicati dal "
     "provider.",
     "Introduzca el nombre de usuario y la contraseña de su cuenta de Internet tal como se los "
     "facilitó su proveedor."},
    {PageText::PppUserName, "User name", "Nom d’utilisateur", "Benutzername", "Nome utente",
     "Nombre de usuario"},
    {PageText::PppPassword, "Password", "Mot de passe", "Kennwort", "Password", "Contraseña"},
    {PageText::PppServiceName, "PPPoE service name", "Nom du service PPPoE", "PPPoE-Dienstname",
     "Nome servizio PPPoE", "Nombre de servicio PPPoE"},
    {PageText::PppStaticIp, "Use static IP address", "Utiliser une adresse IP fixe",
     "Feste IP-Adresse verwenden", "Usa indirizzo IP statico", "Usar dirección IP fija"},
    {PageText::PppoeHint,
     "Tick a box only if your provider gave you a service name or a fixed IP address.",
     "Ne cochez une case que si votre fournisseur vous a indiqué un nom de service ou une "
     "adresse IP fixe.",
     "Setzen Sie ein Häkchen nur, wenn Ihr Anbieter einen Dienstnamen oder eine feste "
     "IP-Adresse vorgibt.",
     "Selezionare una casella solo se il provider ha indicato un nome di servizio o un "
     "indirizzo IP statico.",
     "Marque una casilla solo si su proveedor le ha indicado un nombre de servicio o una "
     "dirección IP fija."},
    {PageText::PppoaHint, "Tick the box only if your provider gave you a fixed IP address.",
     "Ne cochez la case que si votre fournisseur vous a indiqué une adresse IP fixe.",
     "Setzen Sie das Häkchen nur, wenn Ihr Anbieter eine feste IP-Adresse vorgibt.",
     "Selezionare la casella solo se il provider ha indicato un indirizzo IP statico.",
     "Marque la casilla solo si su proveedor le ha indicado una dirección IP fija."},
    {PageText::PppWhereTitle, "Where do I find these details?",
     "Où trouver ces informations" NBSP "?", "Wo finde ich diese Daten?", "Dove trovo questi dati?",
     "¿Dónde encuentro estos datos?"},
    {PageText::PppWhereBody,
     "In the letter or e-mail with your access details from your Internet service provider.",
     "Dans le courrier ou l’e-mail de votre fournisseur d’accès contenant vos identifiants.",
     "Im Schreiben oder in der E-Mail Ihres Internetanbieters mit Ihren Zugangsdaten.",
     "Nella lettera o nell’e-mail con i dati di accesso inviata dal provider Internet.",
     "En la carta o el correo electrónico con sus datos de acceso que le envió su proveedor."},
    {PageText::PppCaseNote, "Upper and lower case matter.",
     "Respectez les majuscules et les minuscules.", "Achten Sie auf Groß- und Kleinschreibung.",
     "Fare attenzione a maiuscole e minuscole.", "Respete las mayúsculas y minúsculas."},

    {PageText::WanTitle, "WAN IP settings", "Paramètres IP WAN", "WAN-IP-Einstellungen",
     "Impostazioni IP WAN", "Configuración IP de WAN"},
    {PageText::WanIntro,
     "Enter the addresses your Internet service provider gave you. Choose the automatic "
     "options for values that your provider assigns itself.",
     "Saisissez les adresses communiquées par votre fournisseur d’accès. Choisissez les options "
     "automatiques pour les valeurs qu’il attribue lui-même.",
     "Geben Sie die Adressen ein, die Ihr Internetanbieter Ihnen mitgeteilt hat. Wählen Sie "
     "„automatisch“ für Werte, die Ihr Anbieter selbst zuweist.",
     "Inserire gli indirizzi forniti dal provider Internet. Scegliere le opzioni automatiche per "
     "i valori che il provider assegna da sé.",
     "Introduzca las direcciones que le facilitó su proveedor de Internet. Elija las opciones "
     "automáticas para los valores que asigna el propio proveedor."},
    {PageText::WanIpAuto, "Obtain an IP address automatically",
     "Obtenir une adresse IP automatiquement", "IP-Adresse automatisch beziehen",
     "Ottieni automaticamente un indirizzo IP", "Obtener una dirección IP automáticamente"},
    {PageText::WanIpFixed, "Use the following IP address:",
     "Utiliser l’adresse IP suivante" NBSP ":", "Folgende IP-Adresse verwenden:",
     "Utilizza il seguente indirizzo IP:", "Usar la siguiente dirección IP:"},
    {PageText::WanGatewayAuto, "Obtain default gateway automatically",
     "Obtenir la passerelle par défaut automatiquement", "Standardgateway automatisch beziehen",
     "Ottieni automaticamente il gateway predefinito",
     "Obtener la puerta de enlace predeterminada automáticamente"},
    {PageText::WanGatewayFixed,
     "Use the following default gateway:", "Utiliser la passerelle par défaut suivante" NBSP ":",
     "Folgendes Standardgateway verwenden:", "Utilizza il seguente gateway predefinito:",
     "Usar la siguiente puerta de enlace predeterminada:"},
    {PageText::WanDnsAuto, "Obtain DNS server addresses automatically",
     "Obtenir les adresses des serveurs DNS automatiquement",
     "DNS-Serveradressen automatisch beziehen",
     "Ottieni automaticamente gli indirizzi dei server DNS",
     "Obtener las direcciones de servidor DNS automáticamente"},
    {PageText::WanDnsFixed, "Use the following DNS server addresses:",
     "Utiliser les adresses de serveur DNS suivantes" NBSP ":",
     "Folgende DNS-Serveradressen verwenden:", "Utilizza i seguenti indirizzi server DNS:",
     "Usar las siguientes direcciones de servidor DNS:"},
    {PageText::WanIpAddress, "WAN IP address", "Adresse IP WAN", "WAN-IP-Adresse",
     "Indirizzo IP WAN", "Dirección IP WAN"},
    {PageText::WanSubnetMask, "WAN subnet mask", "Masque de sous-réseau WAN", "WAN-Subnetzmaske",
     "Subnet mask WAN", "Máscara de subred WAN"},
    {PageText::WanGateway, "Default gateway", "Passerelle par défaut", "Standardgateway",
     "Gateway predefinito", "Puerta de enlace"},
    {PageText::WanDnsPrimary, "Primary DNS server", "Serveur DNS principal", "Primärer DNS-Server",
     "Server DNS primario", "Servidor DNS principal"},
    {PageText::WanDnsSecondary, "Secondary DNS server", "Serveur DNS secondaire",
     "Sekundärer DNS-Server", "Server DNS secondario", "Servidor DNS secundario"},

    {PageText::WirelessTitle, "Wireless network", "Réseau sans fil", "WLAN-Netzwerk",
     "Rete wireless", "Red inalámbrica"},
    {PageText::WirelessIntro,
     "Give your wireless network a name, choose a channel and decide how the network is "
     "protected. We recommend WPA-PSK with a key of 8 to 63 characters; “Create Key” makes up a "
     "random one.",
     "Donnez un nom à votre réseau sans fil, choisissez un canal et le mode de protection du "
     "réseau. Nous recommandons WPA-PSK avec une clé de 8 à 63 caractères" NBSP "; «" NBSP
     "Create Key" NBSP "» en génère une au hasard.",
     "Geben Sie Ihrem WLAN einen Namen, wählen Sie einen Kanal und legen Sie fest, wie das "
     "Netzwerk geschützt wird. Wir empfehlen WPA-PSK mit einem Schlüssel aus 8 bis 63 Zeichen; "
     "„Create Key“ erzeugt einen zufälligen Schlüssel.",
     "Assegnare un nome alla rete wireless, scegliere un canale e stabilire come proteggere la "
     "rete. Si consiglia WPA-PSK con una chiave da 8 a 63 caratteri; «Create Key» ne genera una "
     "casuale.",
     "Asigne un nombre a su red inalámbrica, elija un canal y decida cómo se protege la red. "
     "Recomendamos WPA-PSK con una clave de 8 a 63 caracteres; «Create Key» genera una al "
     "azar."},
    {PageText::WirelessSsid, "Network name (SSID)", "Nom du réseau (SSID)", "Netzwerkname (SSID)",
     "Nome della rete (SSID)", "Nombre de red (SSID)"},
    {PageText::WirelessChannel, "Channel", "Canal", "Kanal", "Canale", "Canal"},
    {PageText::WirelessAuthentication, "Network authentication", "Authentification réseau",
     "Netzwerkauthentifizierung", "Autenticazione di rete", "Autenticación de red"},
    {PageText::WirelessSsidHint, "Up to 32 characters. Your wireless devices show this name.",
     "32 caractères au maximum. Vos appareils sans fil affichent ce nom.",
     "Bis zu 32 Zeichen. Ihre WLAN-Geräte zeigen diesen Namen an.",
     "Fino a 32 caratteri. I dispositivi wireless mostrano questo nome.",
     "Hasta 32 caracteres. Sus dispositivos inalámbricos mostrarán este nombre."},
    {PageText::WirelessChannelHint, "With “Auto Select” the modem picks the best channel itself.",
     "Avec «" NBSP "Auto Select" NBSP "», le modem choisit lui-même le meilleur canal.",
     "Mit „Auto Select“ wählt das Modem selbst den besten Kanal.",
     "Con «Auto Select» il modem sceglie da sé il canale migliore.",
     "Con «Auto Select», el módem elige por sí mismo el mejor canal."},
    {PageText::WirelessNote,
     "Write down the network name and the key: every wireless device needs them to join your "
     "network.",
     "Notez le nom du réseau et la clé" NBSP ": chaque appareil sans fil en a besoin pour se "
     "connecter.",
     "Notieren Sie Netzwerkname und Schlüssel: Jedes WLAN-Gerät benötigt sie, um sich zu "
     "verbinden.",
     "Annotare il nome della rete e la chiave: ogni dispositivo wireless ne ha bisogno per "
     "connettersi.",
     "Anote el nombre de la red y la clave: todos los dispositivos inalámbricos los necesitan "
     "para conectarse."},

    {PageText::ApplyTitle, "Applying settings…", "Application des paramètres…",
     "Einstellungen werden übernommen…", "Applicazione delle impostazioni…",
     "Aplicando la configuración…"},
    {PageText::ApplyBody, "The wizard is sending your settings to the modem.",
     "L’assistant envoie vos paramètres au modem.",
     "Der Assistent überträgt Ihre Einstellungen auf das Modem.",
     "La procedura guidata sta inviando le impostazioni al modem.",
     "El asistente está enviando la configuración al módem."},
    {PageText::ApplyHint, "Please wait and do not switch the modem off.",
     "Veuillez patienter et ne pas éteindre le modem.",
     "Bitte warten Sie und schalten Sie das Modem nicht aus.", "Attendere e non spegnere il modem.",
     "Espere y no apague el módem."},

    {PageText::TestTitle, "Testing your Internet connection…", "Test de votre connexion Internet…",
     "Internetverbindung wird getestet…", "Verifica della connessione Internet…",
     "Comprobando su conexión a Internet…"},
    {PageText::TestBody, "The modem is now connecting to your Internet service provider.",
     "Le modem se connecte maintenant à votre fournisseur d’accès.",
     "Das Modem stellt jetzt die Verbindung zu Ihrem Internetanbieter her.",
     "Il modem si sta connettendo al provider Internet.",
     "El módem se está conectando a su proveedor de Internet."},
    {PageText::TestHint, "This can take up to two minutes. Please wait.",
     "Cela peut prendre jusqu’à deux minutes. Veuillez patienter.",
     "Das kann bis zu zwei Minuten dauern. Bitte warten Sie.",
     "L’operazione può richiedere fino a due minuti. Attendere.",
     "Puede tardar hasta dos minutos. Espere, por favor."},

    {PageText::FinishTitle, "Congratulations!", "Félicitations" NBSP "!", "Herzlichen Glückwunsch!",
     "Congratulazioni!", "¡Enhorabuena!"},
    {PageText::FinishBody, "Your modem is set up and your computer is connected to the Internet.",
     "Votre modem est configuré et votre ordinateur est connecté à Internet.",
     "Ihr Modem ist eingerichtet und Ihr Computer ist mit dem Internet verbunden.",
     "Il modem è configurato e il computer è connesso a Internet.",
     "Su módem está configurado y su ordenador está conectado a Internet."},
    {PageText::FinishWireless,
     "Your wireless devices can now join the network with the name and key you chose.",
     "Vos appareils sans fil peuvent maintenant rejoindre le réseau avec le nom et la clé "
     "choisis.",
     "Ihre WLAN-Geräte können sich jetzt mit dem gewählten Namen und Schlüssel verbinden.",
     "I dispositivi wireless possono ora connettersi alla rete con il nome e la chiave scelti.",
     "Sus dispositivos inalámbricos ya pueden conectarse a la red con el nombre y la clave que "
     "eligió."},
    {PageText::FinishNext,
     "Click Finish to close the wizard. The Orvane website then opens in your browser.",
     "Cliquez sur Terminer pour fermer l’assistant. Le site Web d’Orvane s’ouvre alors dans "
     "votre navigateur.",
     "Klicken Sie auf „Fertigstellen“, um den Assistenten zu schließen. Anschließend öffnet "
     "sich die Orvane-Website in Ihrem Browser.",
     "Fare clic su Fine per chiudere la procedura guidata. Si aprirà il sito web di Orvane nel "
     "browser.",
     "Haga clic en Finalizar para cerrar el asistente. A continuación se abrirá el sitio web "
     "de Orvane en su navegador."},

    {PageText::LanguageList, "Language", "Langue", "Sprache", "Lingua", "Idioma"},
    {PageText::WirelessCurrentKey, "Current network key", "Clé réseau actuelle",
     "Aktueller Netzwerkschlüssel", "Chiave di rete attuale", "Clave de red actual"},
    {PageText::WirelessPresharedKey, "WPA pre-shared key", "Clé WPA pré-partagée", "WPA-Schlüssel",
     "Chiave WPA precondivisa", "Clave WPA precompartida"},
    {PageText::WirelessKey1, "Network key 1", "Clé réseau 1", "Netzwerkschlüssel 1",
     "Chiave di rete 1", "Clave de red 1"},
    {PageText::WirelessKey2, "Network key 2", "Clé réseau 2", "Netzwerkschlüssel 2",
     "Chiave di rete 2", "Clave de red 2"},
    {PageText::WirelessKey3, "Network key 3", "Clé réseau 3", "Netzwerkschlüssel 3",
     "Chiave di rete 3", "Clave de red 3"},
    {PageText::WirelessKey4, "Network key 4", "Clé réseau 4", "Netzwerkschlüssel 4",
     "Chiave di rete 4", "Clave de red 4"},
    {PageText::WirelessCreateKey, "Create key", "Créer une clé", "Schlüssel erzeugen",
     "Crea chiave", "Crear clave"},

    {PageText::EndonymEnglish, "English", "English", "English", "English", "English"},
    {PageText::EndonymFrench, "Français", "Français", "Français", "Français", "Français"},
    {PageText::EndonymGerman, "Deutsch", "Deutsch", "Deutsch", "Deutsch", "Deutsch"},
    {PageText::EndonymItalian, "Italiano", "Italiano", "Italiano", "Italiano", "Italiano"},
    {PageText::EndonymSpanish, "Español", "Español", "Español", "Español", "Español"},
};

#undef NBSP

constexpr bool RowsFollowTheEnum() {
    if (std::size(kRows) != static_cast<std::size_t>(PageText::Count)) return false;
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        if (static_cast<std::size_t>(kRows[i].id) != i) return false;
        for (const char* text : {kRows[i].english, kRows[i].french, kRows[i].german,
                                 kRows[i].italian, kRows[i].spanish}) {
            if (text == nullptr || text[0] == '\0') return false;
        }
    }
    return true;
}
static_assert(RowsFollowTheEnum(), "one row per PageText, in enum order, no empty text");

}  // namespace

PageLanguage LanguageOfFolder(std::string_view folder) {
    const std::size_t slash = folder.find_last_of('/');
    if (slash != std::string_view::npos) folder.remove_prefix(slash + 1);
    for (PageLanguage language : kAllPageLanguages) {
        if (folder == LanguageFolderName(language)) return language;
    }
    return PageLanguage::English;
}

std::string_view PageTextIn(PageText text, PageLanguage language) {
    const Row& row = kRows[static_cast<std::size_t>(text)];
    switch (language) {
        case PageLanguage::English:
            return row.english;
        case PageLanguage::French:
            return row.french;
        case PageLanguage::German:
            return row.german;
        case PageLanguage::Italian:
            return row.italian;
        case PageLanguage::Spanish:
            return row.spanish;
    }
    return row.english;
}

std::string_view LanguageEndonym(PageLanguage language) {
    const auto first = static_cast<std::size_t>(PageText::EndonymEnglish);
    return PageTextIn(static_cast<PageText>(first + static_cast<std::size_t>(language)), language);
}
