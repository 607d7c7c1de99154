#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <string_view>

struct sd_bus;
struct sd_bus_message;

// A client connection to a D-Bus message bus through sd-bus, with the few typed calls that the
// NetworkManager clients need. Every call answers "nothing" (an empty text or list, false) when
// the bus or the peer fails; the last error stays readable for messages.
class BusConnection {
public:
    // address: a D-Bus address such as "unix:path=/run/dbus/system_bus_socket", or empty for
    // the system bus. nullptr when no connection could be made.
    static std::unique_ptr<BusConnection> Open(const std::string& address);
    ~BusConnection();
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;

    sd_bus* Bus() const { return bus_; }
    bool NameHasOwner(const char* name);

    std::string StringProperty(const char* service, const std::string& path, const char* interface,
                               const char* name);
    std::string PathProperty(const char* service, const std::string& path, const char* interface,
                             const char* name);
    std::uint32_t U32Property(const char* service, const std::string& path, const char* interface,
                              const char* name, std::uint32_t fallback);
    // The string values of an a{sv} property; entries of other types are left out.
    std::map<std::string, std::string> StringMapProperty(const char* service,
                                                         const std::string& path,
                                                         const char* interface, const char* name);
    std::vector<std::string> PathList(const char* service, const std::string& path,
                                      const char* interface, const char* method);

    // Sends a method call that may need the user's authorization: the call carries the flag that
    // lets the service's polkit have the desktop's authentication agent ask for a password, and
    // the wait for the reply leaves time to type one (kInteractiveLimitUs). sd_bus_call's result;
    // on failure LastError and LastErrorName tell why. reply may be nullptr.
    static constexpr std::uint64_t kInteractiveLimitUs = 120'000'000;
    int CallInteractive(sd_bus_message* call, sd_bus_message** reply);
    // True for the D-Bus error names a service answers when the caller is not authorized.
    static bool IsAuthorizationError(std::string_view errorName);
    const std::string& LastErrorName() const { return lastErrorName_; }

    const std::string& LastError() const { return lastError_; }
    void SetError(const std::string& error) { lastError_ = error; }

private:
    explicit BusConnection(sd_bus* bus) : bus_(bus) {}
    sd_bus* bus_;
    std::string lastError_;
    std::string lastErrorName_;
};
