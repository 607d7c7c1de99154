#include "detection/adapters/NetworkManagerAdapters.h"

#include <systemd/sd-bus.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "detection/adapters/LeaseFiles.h"

namespace {

constexpr const char* kManagerPath = "/org/freedesktop/NetworkManager";
constexpr const char* kManagerInterface = "org.freedesktop.NetworkManager";
constexpr const char* kDeviceInterface = "org.freedesktop.NetworkManager.Device";
constexpr const char* kActiveInterface = "org.freedesktop.NetworkManager.Connection.Active";
constexpr const char* kDhcp4Interface = "org.freedesktop.NetworkManager.DHCP4Config";
constexpr const char* kSettingsPath = "/org/freedesktop/NetworkManager/Settings";
constexpr const char* kSettingsInterface = "org.freedesktop.NetworkManager.Settings";
constexpr const char* kProfileInterface = "org.freedesktop.NetworkManager.Settings.Connection";

constexpr std::uint32_t kDeviceTypeLoopback = 32;
constexpr std::uint32_t kActiveActivated = 2;
constexpr std::uint32_t kActiveDeactivated = 4;
constexpr int kPollMs = 100;

struct Error {
    sd_bus_error e = SD_BUS_ERROR_NULL;
    ~Error() { sd_bus_error_free(&e); }
    std::string Text(int rc) const {
        return e.message ? e.message : std::strerror(rc < 0 ? -rc : rc);
    }
};

struct Message {
    sd_bus_message* m = nullptr;
    ~Message() { sd_bus_message_unref(m); }
};

bool HasPath(const std::string& path) {
    return !path.empty() && path != "/";
}

bool ManagerCall(BusConnection& bus, const char* member, Message& call) {
    return sd_bus_message_new_method_call(bus.Bus(), &call.m, kNetworkManagerService, kManagerPath,
                                          kManagerInterface, member) >= 0;
}

// What NetworkManager's answers say about the authorization of an ordinary user: root is
// always allowed; NetworkManager asks polkit for everyone else.
Authorization AuthorizationOf(bool released, bool refused) {
    if (RunsAsRoot()) return Authorization::NotNeeded;
    if (refused) return Authorization::Refused;
    return released ? Authorization::Granted : Authorization::NotNeeded;
}

}  // namespace

bool NetworkManagerAdapters::Devices(std::vector<Device>& devices) {
    devices.clear();
    Error error;
    Message reply;
    int rc = sd_bus_call_method(bus_->Bus(), kNetworkManagerService, kManagerPath,
                                kManagerInterface, "GetDevices", &error.e, &reply.m, "");
    if (rc < 0) {
        bus_->SetError(error.Text(rc));
        return false;
    }
    std::vector<std::string> paths;
    if (sd_bus_message_enter_container(reply.m, 'a', "o") < 0) return false;
    const char* item = nullptr;
    while (sd_bus_message_read(reply.m, "o", &item) > 0) paths.push_back(item);

    for (const std::string& path : paths) {
        BusConnection& bus = *bus_;
        Device device;
        device.path = path;
        device.adapter.name =
            bus.StringProperty(kNetworkManagerService, path, kDeviceInterface, "Interface");
        std::uint32_t type =
            bus.U32Property(kNetworkManagerService, path, kDeviceInterface, "DeviceType", 0);
        if (type == kDeviceTypeLoopback || device.adapter.name == "lo") continue;
        device.activeConnection =
            bus.PathProperty(kNetworkManagerService, path, kDeviceInterface, "ActiveConnection");
        std::string dhcp4 =
            bus.PathProperty(kNetworkManagerService, path, kDeviceInterface, "Dhcp4Config");
        bool automatic = false;
        if (HasPath(device.activeConnection)) {
            std::string profile = bus.PathProperty(kNetworkManagerService, device.activeConnection,
                                                   kActiveInterface, "Connection");
            if (HasPath(profile)) automatic = ProfileStrings(bus, profile)["ipv4.method"] == "auto";
        }
        device.adapter.dhcpEnabled = automatic || HasPath(dhcp4);
        device.adapter.dhcpServer = std::string(kNoDhcpServer);
        if (HasPath(dhcp4)) {
            // Held to the same check as a lease file's: this text becomes the modem's address.
            const std::string server = NetworkManagerLeaseServer(
                bus.StringMapProperty(kNetworkManagerService, dhcp4, kDhcp4Interface, "Options"));
            if (!server.empty()) device.adapter.dhcpServer = server;
        }
        devices.push_back(device);
    }
    return true;
}

std::string NetworkManagerAdapters::AuthorizationRoute() const {
    if (RunsAsRoot()) return {};
    return "NetworkManager asks polkit (org.freedesktop.NetworkManager.network-control)";
}

bool NetworkManagerAdapters::List(std::vector<NetworkAdapter>& adapters) {
    adapters.clear();
    std::vector<Device> devices;
    if (!Devices(devices)) return false;
    for (const Device& device : devices) adapters.push_back(device.adapter);
    return true;
}

std::vector<RenewOutcome> NetworkManagerAdapters::RenewAll() {
    std::vector<RenewOutcome> outcomes;
    std::vector<Device> devices;
    if (!Devices(devices)) return outcomes;
    for (const Device& device : devices) {
        RenewOutcome outcome{device.adapter.name, false, false};
        if (device.adapter.dhcpEnabled && HasPath(device.activeConnection)) {
            std::string profile = bus_->PathProperty(
                kNetworkManagerService, device.activeConnection, kActiveInterface, "Connection");
            // Both calls are authorized by NetworkManager's polkit action network-control.
            Message down;
            outcome.released =
                HasPath(profile) && ManagerCall(*bus_, "DeactivateConnection", down) &&
                sd_bus_message_append(down.m, "o", device.activeConnection.c_str()) >= 0 &&
                bus_->CallInteractive(down.m, nullptr) >= 0;
            bool refused = !outcome.released && HasPath(profile) &&
                           BusConnection::IsAuthorizationError(bus_->LastErrorName());
            if (outcome.released) {
                Message up;
                Message reply;
                const char* active = nullptr;
                if (ManagerCall(*bus_, "ActivateConnection", up) &&
                    sd_bus_message_append(up.m, "ooo", profile.c_str(), device.path.c_str(), "/") >=
                        0 &&
                    bus_->CallInteractive(up.m, &reply.m) >= 0 &&
                    sd_bus_message_read(reply.m, "o", &active) >= 0 && active) {
                    outcome.renewed = WaitActivated(active);
                } else {
                    refused = BusConnection::IsAuthorizationError(bus_->LastErrorName());
                }
            }
            outcome.authorization = AuthorizationOf(outcome.released, refused);
        }
        outcomes.push_back(outcome);
    }
    return outcomes;
}

bool NetworkManagerAdapters::WaitActivated(const std::string& active) {
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(activationLimitMs_);
    for (;;) {
        std::uint32_t state = bus_->U32Property(kNetworkManagerService, active, kActiveInterface,
                                                "State", kActiveDeactivated);
        if (state == kActiveActivated) return true;
        if (state == kActiveDeactivated || std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
}

std::map<std::string, std::string> ProfileStrings(BusConnection& bus, const std::string& path) {
    std::map<std::string, std::string> out;
    Error error;
    Message reply;
    int rc = sd_bus_call_method(bus.Bus(), kNetworkManagerService, path.c_str(), kProfileInterface,
                                "GetSettings", &error.e, &reply.m, "");
    if (rc < 0 || sd_bus_message_enter_container(reply.m, 'a', "{sa{sv}}") < 0) {
        bus.SetError(error.Text(rc));
        return out;
    }
    while (sd_bus_message_enter_container(reply.m, 'e', "sa{sv}") > 0) {
        const char* setting = nullptr;
        if (sd_bus_message_read(reply.m, "s", &setting) < 0 ||
            sd_bus_message_enter_container(reply.m, 'a', "{sv}") < 0) {
            break;
        }
        while (sd_bus_message_enter_container(reply.m, 'e', "sv") > 0) {
            const char* key = nullptr;
            char type = 0;
            const char* contents = nullptr;
            if (sd_bus_message_read(reply.m, "s", &key) < 0 ||
                sd_bus_message_peek_type(reply.m, &type, &contents) < 0) {
                return out;
            }
            const char* value = nullptr;
            if (contents && std::strcmp(contents, "s") == 0 &&
                sd_bus_message_read(reply.m, "v", "s", &value) >= 0 && value) {
                out[std::string(setting) + "." + key] = value;
            } else if (sd_bus_message_skip(reply.m, "v") < 0) {
                return out;
            }
            sd_bus_message_exit_container(reply.m);
        }
        sd_bus_message_exit_container(reply.m);
        sd_bus_message_exit_container(reply.m);
    }
    return out;
}

std::vector<std::string> ProfilePaths(BusConnection& bus) {
    return bus.PathList(kNetworkManagerService, kSettingsPath, kSettingsInterface,
                        "ListConnections");
}

bool SetProfileIpv4Auto(BusConnection& bus, const std::string& path) {
    Error error;
    Message current;
    int rc = sd_bus_call_method(bus.Bus(), kNetworkManagerService, path.c_str(), kProfileInterface,
                                "GetSettings", &error.e, &current.m, "");
    if (rc < 0) {
        bus.SetError(error.Text(rc));
        return false;
    }
    Message update;
    if (sd_bus_message_new_method_call(bus.Bus(), &update.m, kNetworkManagerService, path.c_str(),
                                       kProfileInterface, "Update") < 0) {
        return false;
    }
    sd_bus_message* in = current.m;
    sd_bus_message* out = update.m;
    // Copies every setting, leaving out the old ipv4.method and writing "auto" in its place.
    auto appendMethod = [out] {
        return sd_bus_message_append(out, "{sv}", "method", "s", "auto") >= 0;
    };
    bool ok = sd_bus_message_open_container(out, 'a', "{sa{sv}}") >= 0 &&
              sd_bus_message_enter_container(in, 'a', "{sa{sv}}") >= 0;
    bool sawIpv4 = false;
    while (ok && sd_bus_message_enter_container(in, 'e', "sa{sv}") > 0) {
        const char* setting = nullptr;
        ok = sd_bus_message_read(in, "s", &setting) >= 0 &&
             sd_bus_message_open_container(out, 'e', "sa{sv}") >= 0 &&
             sd_bus_message_append(out, "s", setting) >= 0 &&
             sd_bus_message_open_container(out, 'a', "{sv}") >= 0 &&
             sd_bus_message_enter_container(in, 'a', "{sv}") >= 0;
        const bool ipv4 = ok && std::strcmp(setting, "ipv4") == 0;
        sawIpv4 = sawIpv4 || ipv4;
        while (ok && sd_bus_message_enter_container(in, 'e', "sv") > 0) {
            const char* key = nullptr;
            ok = sd_bus_message_read(in, "s", &key) >= 0;
            if (ok && ipv4 && std::strcmp(key, "method") == 0) {
                ok = sd_bus_message_skip(in, "v") >= 0;
            } else if (ok) {
                ok = sd_bus_message_open_container(out, 'e', "sv") >= 0 &&
                     sd_bus_message_append(out, "s", key) >= 0 &&
                     sd_bus_message_copy(out, in, false) >= 0 &&
                     sd_bus_message_close_container(out) >= 0;
            }
            ok = ok && sd_bus_message_exit_container(in) >= 0;
        }
        if (ok && ipv4) ok = appendMethod();
        ok = ok && sd_bus_message_exit_container(in) >= 0 &&
             sd_bus_message_exit_container(in) >= 0 && sd_bus_message_close_container(out) >= 0 &&
             sd_bus_message_close_container(out) >= 0;
    }
    if (ok && !sawIpv4) {
        ok = sd_bus_message_open_container(out, 'e', "sa{sv}") >= 0 &&
             sd_bus_message_append(out, "s", "ipv4") >= 0 &&
             sd_bus_message_open_container(out, 'a', "{sv}") >= 0 && appendMethod() &&
             sd_bus_message_close_container(out) >= 0 && sd_bus_message_close_container(out) >= 0;
    }
    ok = ok && sd_bus_message_close_container(out) >= 0;
    if (!ok) {
        bus.SetError("the profile's settings could not be copied");
        return false;
    }
    // Authorized by NetworkManager's polkit action settings.modify.system.
    return bus.CallInteractive(update.m, nullptr) >= 0;
}
