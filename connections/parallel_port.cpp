#include "connections/parallel_port.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "connections/serial_line.h"
#include "platform/device_names.h"

namespace velkaro {

// A descriptor stays listed until it is closed. Its last owner may be the writer thread, which
// closes it right after the last queued block; until then an Open of the same node takes it up.
struct CParallelPort::OpenNodes {
    std::mutex mutex;
    std::condition_variable closed;
    std::map<std::string, std::weak_ptr<UniqueFd>> byPath;
};

CParallelPort::CParallelPort() : m_pNodes(std::make_shared<OpenNodes>()) {}

CParallelPort::~CParallelPort() {
    m_hPort.reset();
}

bool CParallelPort::Open(int port) {
    if (m_hPort) {
        const std::weak_ptr<UniqueFd> held = m_hPort;
        m_hPort.reset();
        if (held.expired()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_nPort = port;
    const std::string path = ParallelDevicePath(port, m_strDeviceFolder);
    if (path.empty()) return false;

    OpenNodes& nodes = *m_pNodes;
    {
        std::unique_lock<std::mutex> lock(nodes.mutex);
        for (auto it = nodes.byPath.find(path); it != nodes.byPath.end();
             it = nodes.byPath.find(path)) {
            if (std::shared_ptr<UniqueFd> draining = it->second.lock()) {
                m_hPort = std::move(draining);
                return true;
            }
            // Its last owner is closing it at this moment; the lock is ours again right after.
            nodes.closed.wait(lock);
        }
    }

    UniqueFd fd = OpenExclusive(path);
    if (!fd) return false;
    std::shared_ptr<OpenNodes> list = m_pNodes;
    std::shared_ptr<UniqueFd> node(new UniqueFd(std::move(fd)), [list, path](UniqueFd* gone) {
        std::lock_guard<std::mutex> lock(list->mutex);
        delete gone;
        list->byPath.erase(path);
        list->closed.notify_all();
    });
    {
        std::lock_guard<std::mutex> lock(nodes.mutex);
        nodes.byPath[path] = node;
    }
    m_hPort = std::move(node);
    m_Writer.SetOwner(m_pOwner, ++m_nConnection);
    return true;
}

bool CParallelPort::Write(const char* data, std::size_t length) {
    if (!IsOpen()) return false;
    if (length == 0 || !data) return true;
    return SendBytes(std::string(data, length)) == Transfer::Result::Queued;
}

void CParallelPort::Close() {
    m_hPort.reset();
}

}  // namespace velkaro
