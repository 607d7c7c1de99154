#include "detection/adapters/LeaseFiles.h"

#include <arpa/inet.h>

#include <vector>

namespace {

std::string_view Trim(std::string_view s) {
    const char* space = " \t\r\n";
    std::size_t begin = s.find_first_not_of(space);
    if (begin == std::string_view::npos) return {};
    return s.substr(begin, s.find_last_not_of(space) - begin + 1);
}

std::string_view Unquote(std::string_view s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}

// One statement of a dhclient lease file and the character that ended it: ';', '{' or '}'.
struct Statement {
    std::string_view text;
    char end;
};

// Splits at ';', '{' and '}' outside double quotes; "#" starts a comment to the end of the line.
std::vector<Statement> Statements(std::string_view text) {
    std::vector<Statement> out;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == '#' && Trim(text.substr(start, i - start)).empty()) {
            std::size_t eol = text.find('\n', i);
            i = eol == std::string_view::npos ? text.size() : eol;
            start = i + 1;
        } else if (c == ';' || c == '{' || c == '}') {
            out.push_back({Trim(text.substr(start, i - start)), c});
            start = i + 1;
        }
    }
    return out;
}

// "option dhcp-server-identifier 10.0.0.1" → "10.0.0.1" when the statement has that keyword.
bool Argument(std::string_view statement, std::string_view keyword, std::string_view* argument) {
    if (!statement.starts_with(keyword)) return false;
    std::string_view rest = statement.substr(keyword.size());
    if (rest.empty() || (rest.front() != ' ' && rest.front() != '\t')) return false;
    *argument = Trim(rest);
    return true;
}

bool IsYes(std::string_view value) {
    return value == "yes" || value == "true" || value == "on" || value == "1" || value == "ipv4";
}

}  // namespace

bool IsDottedIpv4(std::string_view text) {
    // inet_pton stops at a NUL, so "10.0.0.1\0junk" would pass as its first part.
    if (text.empty() || text.size() > 15 || text.find('\0') != std::string_view::npos) {
        return false;
    }
    std::string copy(text);
    in_addr parsed{};
    return inet_pton(AF_INET, copy.c_str(), &parsed) == 1;
}

std::string DhclientLeaseServer(std::string_view text, std::string_view interface) {
    std::string found;
    int depth = 0;
    bool inLease = false;
    std::string_view leaseInterface;
    std::string leaseServer;
    for (const Statement& s : Statements(text)) {
        std::string_view argument;
        if (s.end == '{') {
            ++depth;
            if (depth == 1 && s.text == "lease") {
                inLease = true;
                leaseInterface = {};
                leaseServer.clear();
            }
        } else if (s.end == '}') {
            // A statement left without its ";" before the brace still counts.
            if (inLease && depth == 1 &&
                Argument(s.text, "option dhcp-server-identifier", &argument) &&
                IsDottedIpv4(argument)) {
                leaseServer = argument;
            }
            if (depth == 1 && inLease) {
                if (interface.empty() || leaseInterface == interface) found = leaseServer;
                inLease = false;
            }
            if (depth > 0) --depth;
        } else if (inLease && depth == 1) {
            if (Argument(s.text, "interface", &argument)) {
                leaseInterface = Unquote(argument);
            } else if (Argument(s.text, "option dhcp-server-identifier", &argument) &&
                       IsDottedIpv4(argument)) {
                leaseServer = argument;
            }
        }
    }
    return found;
}

std::string KeyValueOf(std::string_view text, std::string_view key) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        std::string_view line = Trim(
            text.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos));
        pos = eol == std::string_view::npos ? text.size() : eol + 1;
        if (line.empty() || line.front() == '#') continue;
        std::size_t eq = line.find('=');
        if (eq != std::string_view::npos && Trim(line.substr(0, eq)) == key) {
            return std::string(Trim(line.substr(eq + 1)));
        }
    }
    return {};
}

std::string NetworkdLeaseServer(std::string_view text) {
    std::string server = KeyValueOf(text, "SERVER_ADDRESS");
    return IsDottedIpv4(server) ? server : std::string();
}

std::string NetworkManagerLeaseServer(const std::map<std::string, std::string>& options) {
    const auto server = options.find("dhcp_server_identifier");
    return server != options.end() && IsDottedIpv4(server->second) ? server->second : std::string();
}

bool NetworkFileWantsDhcp4(std::string_view text) {
    bool inNetwork = false;
    bool wants = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        std::string_view line = Trim(
            text.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos));
        pos = eol == std::string_view::npos ? text.size() : eol + 1;
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        if (line.front() == '[') {
            inNetwork = line == "[Network]";
            continue;
        }
        std::size_t eq = line.find('=');
        if (inNetwork && eq != std::string_view::npos && Trim(line.substr(0, eq)) == "DHCP") {
            // A later assignment overrides an earlier one, as in the unit file syntax.
            wants = IsYes(Trim(line.substr(eq + 1)));
        }
    }
    return wants;
}
