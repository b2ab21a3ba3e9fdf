// Opening each kind of link. On failure the out pointer is left empty and the status says why.
#pragma once

#include <netinet/in.h>

#include <memory>

#include "transport.h"

namespace zel::com {

Status openTcp(in_addr address, int timeoutMs, std::unique_ptr<Transport>& out);
Status openUdp(in_addr address, std::unique_ptr<Transport>& out);
Status openSerial(int port, std::unique_ptr<Transport>& out);
Status openZelnet(int ownNode, int targetNode, std::unique_ptr<Transport>& out);

}  // namespace zel::com
