#include "core/account/AccountChecks.h"

#include "core/account/CheckIpText.h"

namespace {

bool Exceeds(const std::string& text, int bytes) {
    return text.size() > static_cast<std::size_t>(bytes);
}

// An address the user typed: empty, or not a usable address (or mask).
FormCheck CheckAddress(const std::string& text, int control, int isMask) {
    if (text.empty()) return FormFailure{FormMessage::EmptyValue, control};
    if (CheckIpText(text.c_str(), isMask) != 0)
        return FormFailure{FormMessage::BadValueType, control};
    return {};
}

}  // namespace

FormCheck CheckIsp(const IspEntries& e) {
    using F = IspForm;
    if (e.vci.empty()) return FormFailure{FormMessage::EmptyValue, F::kIdVci};
    if (e.vpi.empty()) return FormFailure{FormMessage::EmptyValue, F::kIdVpi};
    if (DecimalValue(e.vpi) > F::kMaxVpi) return FormFailure{FormMessage::Number0To255, F::kIdVpi};
    const long vci = DecimalValue(e.vci);
    if (vci < F::kMinVci || vci > F::kMaxVci) {
        return FormFailure{FormMessage::Number32To65535, F::kIdVci};
    }
    return {};
}

FormCheck CheckWanAddressSection(const WanIpEntries& e) {
    if (e.automaticAddress) return {};
    if (FormCheck f = CheckAddress(e.address, WanIpForm::kIdIpAddress, 0)) return f;
    return CheckAddress(e.mask, WanIpForm::kIdSubnetMask, 1);
}

FormCheck CheckWanGatewaySection(const WanIpEntries& e) {
    if (e.automaticGateway) return {};
    return CheckAddress(e.gateway, WanIpForm::kIdGateway, 0);
}

FormCheck CheckWanDnsSection(const WanIpEntries& e) {
    if (e.automaticDns) return {};
    if (FormCheck f = CheckAddress(e.dnsPrimary, WanIpForm::kIdDnsPrimary, 0)) return f;
    if (e.dnsSecondary.empty()) return {};
    return CheckAddress(e.dnsSecondary, WanIpForm::kIdDnsSecondary, 0);
}

FormCheck CheckWanIp(const WanIpEntries& e) {
    if (FormCheck f = CheckWanAddressSection(e)) return f;
    if (FormCheck f = CheckWanGatewaySection(e)) return f;
    return CheckWanDnsSection(e);
}

FormCheck CheckPppAccount(const PppEntries& e) {
    using F = PppForm;
    if (e.userName.empty()) return FormFailure{FormMessage::EmptyValue, F::kIdUserName};
    if (e.password.empty()) return FormFailure{FormMessage::EmptyValue, F::kIdPassword};
    if (Exceeds(e.userName, F::kMaxUserNameBytes)) {
        return FormFailure{FormMessage::NameTooLong, F::kIdUserName};
    }
    if (Exceeds(e.password, F::kMaxPasswordBytes)) {
        return FormFailure{FormMessage::BadValueType, F::kIdPassword};
    }
    // "&" or a control byte cannot travel in the request: the entry stays as typed.
    if (!IsCarriableValue(e.userName))
        return FormFailure{FormMessage::BadValueType, F::kIdUserName};
    if (!IsCarriableValue(e.password))
        return FormFailure{FormMessage::BadValueType, F::kIdPassword};
    return {};
}

FormCheck CheckPppServiceName(const PppEntries& e) {
    using F = PppForm;
    if (!e.useServiceName) return {};
    if (e.serviceName.empty()) return FormFailure{FormMessage::EmptyValue, F::kIdServiceName};
    if (Exceeds(e.serviceName, F::kMaxServiceNameBytes) || !IsCarriableValue(e.serviceName)) {
        return FormFailure{FormMessage::BadValueType, F::kIdServiceName};
    }
    return {};
}

FormCheck CheckPppStaticIp(const PppEntries& e) {
    if (!e.useStaticIp || CheckIpText(e.staticIp.c_str(), 0) == 0) return {};
    return FormFailure{FormMessage::BadValueType, PppForm::kIdStaticIp};
}

FormCheck CheckPpp(const PppEntries& e) {
    if (FormCheck f = CheckPppAccount(e)) return f;
    if (FormCheck f = CheckPppServiceName(e)) return f;
    return CheckPppStaticIp(e);
}
