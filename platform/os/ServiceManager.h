// Service control: a small seam over the machine's service manager, shaped
// after the calls the service operations make (open the manager of a host,
// open a service, read its state, start it, close, last error). The system
// backend is systemd over D-Bus; tests put a fake behind the same interface.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace os {

// Rights asked for when opening a service; the values are the service
// control manager's own. A backend refuses a start without kServiceStart.
inline constexpr std::uint32_t kServiceQueryStatus = 0x0004;
inline constexpr std::uint32_t kServiceStart = 0x0010;

enum class ServiceState { kStopped, kStartPending, kRunning, kStopPending, kOther };

class ServiceManager {
 public:
  // An open manager or service. Destroying it closes it; a service handle is
  // closed before the manager handle it came from.
  class Handle {
   public:
    virtual ~Handle() = default;
  };

  virtual ~ServiceManager() = default;

  // The service manager of host; the empty host is this computer. Null on
  // failure, with the reason in LastError().
  virtual std::unique_ptr<Handle> OpenManager(const std::u16string& host) = 0;
  // The service called name on an open manager, with rights (kService*
  // bits). Null when it does not exist or cannot be opened (LastError()).
  virtual std::unique_ptr<Handle> OpenService(Handle& manager, const std::u16string& name,
                                              std::uint32_t rights) = 0;
  // The current state of an open service; empty when it cannot be read
  // (LastError()).
  virtual std::optional<ServiceState> QueryState(Handle& service) = 0;
  // Asks an open service to start, without arguments. False when the request
  // is refused, among others because the service already runs (LastError()).
  virtual bool Start(Handle& service) = 0;
  // The errno-style code of the last failure reported by this object.
  virtual int LastError() const = 0;
};

// The system's service manager: systemd over D-Bus. The empty host is the
// local system bus (DBUS_SYSTEM_BUS_ADDRESS when set); any other host is
// reached with sd-bus's remote transport (ssh to the host). A service name
// maps to the unit of that name lower-cased (A-Z only) plus ".service";
// running is the unit's active state "active".
std::unique_ptr<ServiceManager> SystemServiceManager();

// Waits that many milliseconds; the service operations take one as a
// parameter so that tests need not wait.
using SleepFunction = std::function<void(std::uint32_t milliseconds)>;
void Sleep(std::uint32_t milliseconds);

}  // namespace os
