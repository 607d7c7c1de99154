#pragma once

// Network namespaces for the detection tests: each test makes a "pc" namespace and the
// namespaces of the networks it is wired to, and removes them after it, also when it fails,
// with every process they hold. Needs root and "ip netns"; skipped with the reason elsewhere.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace netns {

using namespace std::chrono_literals;

inline int Shell(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    return out;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool Installed(const char* program) {
    return Shell(std::string("command -v ") + program + " >/dev/null 2>&1 || test -x /usr/sbin/" +
                 program) == 0;
}

// Why namespace tests that need these programs cannot run here, or an empty text.
inline std::string MissingPrerequisite(const std::vector<const char*>& programs) {
    if (geteuid() != 0) return "needs root to create network namespaces";
    for (const char* program : programs) {
        if (!Installed(program)) return std::string(program) + " is not installed";
    }
    const std::string probe = "sptprobe" + std::to_string(getpid());
    if (Shell("ip netns add " + probe + " >/dev/null 2>&1") != 0) {
        return "ip netns is not available";
    }
    Shell("ip netns del " + probe);
    return {};
}

// Position of a line in the output, or npos.
inline std::size_t LineAt(const std::string& out, const std::string& line) {
    return ("\n" + out).find("\n" + line + "\n");
}

// What a test must leave as it found it in the namespace the test program runs in.
inline std::string HostState() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return "hostname " + std::string(name) + "\nresolv.conf\n" + ReadFile("/etc/resolv.conf") +
           "routes\n" + Capture("ip route show table all 2>&1") + "links\n" +
           Capture("ip -o link show 2>&1");
}

class Namespaces : public ::testing::Test {
protected:
    // The programs the tests of a fixture need besides ip.
    virtual std::vector<const char*> Programs() const { return {"ip", "dnsmasq", "dhclient"}; }

    void SetUp() override {
        if (std::string missing = MissingPrerequisite(Programs()); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        host_ = HostState();
        static int counter = 0;
        prefix_ = "spt" + std::to_string(getpid()) + "x" + std::to_string(++counter);
        char pattern[] = "/tmp/detect-netns-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        folder_ = pattern;
        // Daemons that drop root and the test's ordinary user reach their files here.
        chmod(folder_.c_str(), 0755);
        AddNamespace("pc");
    }

    void TearDown() override {
        // Every process of a namespace (dnsmasq, modem-sim, DHCP clients, NetworkManager,
        // pings) ends with it.
        for (const std::string& ns : namespaces_) {
            Shell("ip netns pids " + ns + " 2>/dev/null | xargs -r kill 2>/dev/null");
        }
        if (!namespaces_.empty()) std::this_thread::sleep_for(200ms);
        for (const std::string& ns : namespaces_) {
            Shell("ip netns pids " + ns + " 2>/dev/null | xargs -r kill -9 2>/dev/null");
            Shell("ip netns del " + ns + " 2>/dev/null");
        }
        // Then the daemons outside the namespaces (the private buses, polkitd).
        for (pid_t pid : children_) kill(pid, SIGTERM);
        for (pid_t pid : children_) waitpid(pid, nullptr, 0);
        if (!folder_.empty()) {
            Shell("rm -rf '" + folder_ + "'");
            EXPECT_EQ(HostState(), host_) << "the test changed the host's network or names";
        }
    }

    std::string Ns(const std::string& role) const { return prefix_ + role; }
    std::string Path(const std::string& name) const { return folder_ + "/" + name; }

    void Write(const std::string& name, const std::string& text, mode_t mode) {
        std::ofstream(Path(name)) << text;
        chmod(Path(name).c_str(), mode);
    }

    void AddNamespace(const std::string& role) {
        ASSERT_EQ(Shell("ip netns add " + Ns(role)), 0);
        namespaces_.push_back(Ns(role));
        ASSERT_EQ(Shell("ip -n " + Ns(role) + " link set lo up"), 0);
    }

    // A wire from the pc's interface pcSide to lanSide in the other namespace, which has
    // address (with prefix) there. Both ends are made inside the namespaces, never on the host.
    void Wire(const std::string& pcSide, const std::string& role, const std::string& lanSide,
              const std::string& address) {
        ASSERT_EQ(Shell("ip -n " + Ns("pc") + " link add " + pcSide + " type veth peer name " +
                        lanSide + " netns " + Ns(role)),
                  0);
        ASSERT_EQ(Shell("ip -n " + Ns(role) + " addr add " + address + " dev " + lanSide), 0);
        ASSERT_EQ(Shell("ip -n " + Ns(role) + " link set " + lanSide + " up"), 0);
        ASSERT_EQ(Shell("ip -n " + Ns("pc") + " link set " + pcSide + " up"), 0);
    }

    pid_t Start(const std::vector<std::string>& command, const std::string& output = "") {
        pid_t pid = fork();
        if (pid == 0) {
            if (!output.empty()) {
                freopen(output.c_str(), "w", stdout);
                freopen(output.c_str(), "a", stderr);
            }
            std::vector<char*> argv;
            for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        EXPECT_GT(pid, 0);
        if (pid > 0) children_.push_back(pid);
        return pid;
    }

    // dnsmasq handing out addresses subnet.100-150 on lanSide, nothing else (no DNS).
    void DhcpServer(const std::string& role, const std::string& lanSide,
                    const std::string& subnet) {
        const std::string log = Path("dnsmasq-" + role);
        Start({"ip", "netns", "exec", Ns(role), "dnsmasq", "--keep-in-foreground",
               "--conf-file=/dev/null", "--port=0", "--no-resolv", "--no-hosts",
               "--bind-interfaces", "--interface=" + lanSide, "--except-interface=lo",
               "--dhcp-range=" + subnet + ".100," + subnet + ".150,255.255.255.0,10m",
               "--dhcp-leasefile=" + log + ".leases", "--pid-file=" + log + ".pid", "--user=root",
               "--group=root", "--log-facility=" + log + ".log"});
    }

    void Modem(const std::string& role, const std::string& address) {
        Start({"ip", "netns", "exec", Ns(role), "env", "MODEM_SIM_ALLOW_ANY_ADDRESS=1",
               MODEM_SIM_PATH, "--log", Path("modem-sim.log"), address});
        // Ready once the port listens.
        for (int i = 0; i < 50; ++i) {
            if (!Capture("ip netns exec " + Ns(role) + " ss -Hltn 'sport = :1028'").empty()) {
                return;
            }
            std::this_thread::sleep_for(100ms);
        }
        FAIL() << "modem-sim did not come up on " << address;
    }

    std::string prefix_;
    std::string folder_;
    std::string host_;
    std::vector<std::string> namespaces_;
    std::vector<pid_t> children_;
};

}  // namespace netns
