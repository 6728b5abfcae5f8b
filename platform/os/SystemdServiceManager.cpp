// The service manager over systemd's D-Bus API (sd-bus).
#include <systemd/sd-bus.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/os/ServiceManager.h"
#include "platform/rtl/Text.h"

namespace os {
namespace {

constexpr char kSystemd[] = "org.freedesktop.systemd1";
constexpr char kManagerPath[] = "/org/freedesktop/systemd1";
constexpr char kManagerInterface[] = "org.freedesktop.systemd1.Manager";
constexpr char kUnitInterface[] = "org.freedesktop.systemd1.Unit";

struct BusClose {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct BusUnref {
  void operator()(sd_bus* bus) const { sd_bus_unref(bus); }
};
struct MessageUnref {
  void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

// A D-Bus error reply; sd-bus turns its name into the errno it returns.
class BusError {
 public:
  BusError() = default;
  ~BusError() { sd_bus_error_free(&error_); }
  BusError(const BusError&) = delete;
  BusError& operator=(const BusError&) = delete;
  sd_bus_error* Get() { return &error_; }

 private:
  sd_bus_error error_ = SD_BUS_ERROR_NULL;
};

struct ManagerHandle : ServiceManager::Handle {
  std::unique_ptr<sd_bus, BusClose> bus;
};

// Holds its own reference to the bus, so it stays valid whatever order the
// handles are closed in.
struct ServiceHandle : ServiceManager::Handle {
  std::unique_ptr<sd_bus, BusUnref> bus;
  std::string unit;
  std::string path;
  std::uint32_t rights = 0;
};

ServiceState StateOf(std::string_view activeState) {
  if (activeState == "active") return ServiceState::kRunning;
  if (activeState == "inactive" || activeState == "failed") return ServiceState::kStopped;
  if (activeState == "activating") return ServiceState::kStartPending;
  if (activeState == "deactivating") return ServiceState::kStopPending;
  return ServiceState::kOther;
}

class SystemdServiceManager : public ServiceManager {
 public:
  std::unique_ptr<Handle> OpenManager(const std::u16string& host) override {
    sd_bus* bus = nullptr;
    const int r = host.empty() ? sd_bus_open_system(&bus)
                               : sd_bus_open_system_remote(&bus, rtl::Utf16ToUtf8(host).c_str());
    if (r < 0) return Failed(r);
    auto manager = std::make_unique<ManagerHandle>();
    manager->bus.reset(bus);
    return manager;
  }

  std::unique_ptr<Handle> OpenService(Handle& manager, const std::u16string& name,
                                      std::uint32_t rights) override {
    sd_bus* bus = static_cast<ManagerHandle&>(manager).bus.get();
    auto service = std::make_unique<ServiceHandle>();
    service->bus.reset(sd_bus_ref(bus));
    service->unit = rtl::Utf16ToUtf8(rtl::AsciiLowerCase(name)) + ".service";
    service->rights = rights;
    // LoadUnit, unlike GetUnit, also reaches units that are installed but
    // not loaded, such as a stopped service that is not enabled.
    BusError error;
    sd_bus_message* reply = nullptr;
    int r = sd_bus_call_method(bus, kSystemd, kManagerPath, kManagerInterface, "LoadUnit",
                               error.Get(), &reply, "s", service->unit.c_str());
    const Message owned(reply);
    if (r < 0) return Failed(r);
    const char* path = nullptr;
    r = sd_bus_message_read(reply, "o", &path);
    if (r < 0) return Failed(r);
    service->path = path;
    // A unit without a unit file still loads, as "not-found".
    const std::optional<std::string> loadState = Property(*service, "LoadState");
    if (!loadState) return nullptr;
    if (*loadState == "not-found") return Failed(-ENOENT);
    return service;
  }

  std::optional<ServiceState> QueryState(Handle& service) override {
    const std::optional<std::string> activeState =
        Property(static_cast<ServiceHandle&>(service), "ActiveState");
    if (!activeState) return std::nullopt;
    return StateOf(*activeState);
  }

  bool Start(Handle& handle) override {
    auto& service = static_cast<ServiceHandle&>(handle);
    if (!(service.rights & kServiceStart)) {
      Failed(-EACCES);
      return false;
    }
    // systemd accepts a start of an active unit as a no-op; the service
    // manager this stands in for refuses it, and callers rely on that.
    const std::optional<ServiceState> state = QueryState(service);
    if (!state) return false;
    if (*state == ServiceState::kRunning || *state == ServiceState::kStartPending) {
      Failed(-EALREADY);
      return false;
    }
    BusError error;
    sd_bus_message* reply = nullptr;
    const int r =
        sd_bus_call_method(service.bus.get(), kSystemd, kManagerPath, kManagerInterface,
                           "StartUnit", error.Get(), &reply, "ss", service.unit.c_str(), "replace");
    sd_bus_message_unref(reply);
    if (r < 0) {
      Failed(r);
      return false;
    }
    return true;
  }

  int LastError() const override { return lastError_; }

 private:
  // Records a failure (r is a negative errno); gives the null handle.
  std::nullptr_t Failed(int r) {
    lastError_ = -r;
    return nullptr;
  }

  std::optional<std::string> Property(ServiceHandle& service, const char* name) {
    BusError error;
    char* value = nullptr;
    const int r = sd_bus_get_property_string(service.bus.get(), kSystemd, service.path.c_str(),
                                             kUnitInterface, name, error.Get(), &value);
    if (r < 0) {
      Failed(r);
      return std::nullopt;
    }
    std::string text(value);
    std::free(value);
    return text;
  }

  int lastError_ = 0;
};

}  // namespace

std::unique_ptr<ServiceManager> SystemServiceManager() {
  return std::make_unique<SystemdServiceManager>();
}

void Sleep(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace os
