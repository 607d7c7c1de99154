#include "detection/adapters/BusConnection.h"

#include <systemd/sd-bus.h>

#include <cstring>

namespace {

struct Error {
    sd_bus_error e = SD_BUS_ERROR_NULL;
    ~Error() { sd_bus_error_free(&e); }
};

struct Message {
    sd_bus_message* m = nullptr;
    ~Message() { sd_bus_message_unref(m); }
};

std::string Describe(const Error& error, int rc) {
    if (error.e.message) return error.e.message;
    return std::strerror(rc < 0 ? -rc : rc);
}

}  // namespace

std::unique_ptr<BusConnection> BusConnection::Open(const std::string& address) {
    sd_bus* bus = nullptr;
    if (address.empty()) {
        if (sd_bus_open_system(&bus) < 0) return nullptr;
    } else {
        if (sd_bus_new(&bus) < 0) return nullptr;
        if (sd_bus_set_address(bus, address.c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 ||
            sd_bus_start(bus) < 0) {
            sd_bus_unref(bus);
            return nullptr;
        }
    }
    return std::unique_ptr<BusConnection>(new BusConnection(bus));
}

BusConnection::~BusConnection() {
    sd_bus_flush_close_unref(bus_);
}

int BusConnection::CallInteractive(sd_bus_message* call, sd_bus_message** reply) {
    Error error;
    int rc = sd_bus_message_set_allow_interactive_authorization(call, 1);
    if (rc >= 0) rc = sd_bus_call(bus_, call, kInteractiveLimitUs, &error.e, reply);
    if (rc < 0) {
        lastError_ = Describe(error, rc);
        lastErrorName_ = error.e.name ? error.e.name : "";
    }
    return rc;
}

bool BusConnection::IsAuthorizationError(std::string_view name) {
    // NetworkManager answers "...PermissionDenied" (one per interface), D-Bus services in
    // general AccessDenied or InteractiveAuthorizationRequired.
    return name.ends_with(".PermissionDenied") || name == SD_BUS_ERROR_ACCESS_DENIED ||
           name == SD_BUS_ERROR_INTERACTIVE_AUTHORIZATION_REQUIRED;
}

bool BusConnection::NameHasOwner(const char* name) {
    Error error;
    Message reply;
    int rc =
        sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "NameHasOwner", &error.e, &reply.m, "s", name);
    int has = 0;
    if (rc < 0 || sd_bus_message_read(reply.m, "b", &has) < 0) {
        lastError_ = Describe(error, rc);
        return false;
    }
    return has != 0;
}

std::string BusConnection::StringProperty(const char* service, const std::string& path,
                                          const char* interface, const char* name) {
    Error error;
    Message reply;
    int rc =
        sd_bus_get_property(bus_, service, path.c_str(), interface, name, &error.e, &reply.m, "s");
    const char* value = nullptr;
    if (rc < 0 || sd_bus_message_read(reply.m, "s", &value) < 0 || !value) {
        lastError_ = Describe(error, rc);
        return {};
    }
    return value;
}

std::string BusConnection::PathProperty(const char* service, const std::string& path,
                                        const char* interface, const char* name) {
    Error error;
    Message reply;
    int rc =
        sd_bus_get_property(bus_, service, path.c_str(), interface, name, &error.e, &reply.m, "o");
    const char* value = nullptr;
    if (rc < 0 || sd_bus_message_read(reply.m, "o", &value) < 0 || !value) {
        lastError_ = Describe(error, rc);
        return {};
    }
    return value;
}

std::uint32_t BusConnection::U32Property(const char* service, const std::string& path,
                                         const char* interface, const char* name,
                                         std::uint32_t fallback) {
    Error error;
    std::uint32_t value = fallback;
    int rc = sd_bus_get_property_trivial(bus_, service, path.c_str(), interface, name, &error.e,
                                         'u', &value);
    if (rc < 0) {
        lastError_ = Describe(error, rc);
        return fallback;
    }
    return value;
}

std::map<std::string, std::string> BusConnection::StringMapProperty(const char* service,
                                                                    const std::string& path,
                                                                    const char* interface,
                                                                    const char* name) {
    std::map<std::string, std::string> out;
    Error error;
    Message reply;
    int rc = sd_bus_get_property(bus_, service, path.c_str(), interface, name, &error.e, &reply.m,
                                 "a{sv}");
    if (rc < 0 || sd_bus_message_enter_container(reply.m, 'a', "{sv}") < 0) {
        lastError_ = Describe(error, rc);
        return out;
    }
    while (sd_bus_message_enter_container(reply.m, 'e', "sv") > 0) {
        const char* key = nullptr;
        const char* contents = nullptr;
        char type = 0;
        if (sd_bus_message_read(reply.m, "s", &key) < 0 ||
            sd_bus_message_peek_type(reply.m, &type, &contents) < 0) {
            break;
        }
        const char* value = nullptr;
        if (contents && std::strcmp(contents, "s") == 0 &&
            sd_bus_message_read(reply.m, "v", "s", &value) >= 0 && value) {
            out[key] = value;
        } else if (sd_bus_message_skip(reply.m, "v") < 0) {
            break;
        }
        sd_bus_message_exit_container(reply.m);
    }
    return out;
}

std::vector<std::string> BusConnection::PathList(const char* service, const std::string& path,
                                                 const char* interface, const char* method) {
    std::vector<std::string> out;
    Error error;
    Message reply;
    int rc =
        sd_bus_call_method(bus_, service, path.c_str(), interface, method, &error.e, &reply.m, "");
    if (rc < 0 || sd_bus_message_enter_container(reply.m, 'a', "o") < 0) {
        lastError_ = Describe(error, rc);
        return out;
    }
    const char* item = nullptr;
    while (sd_bus_message_read(reply.m, "o", &item) > 0) out.push_back(item);
    return out;
}
