// Lets assistive tools read the receive box as a multi-line editable text.
#pragma once

namespace velkaro {

// Installs, once, the factory that gives every receive view its accessible interface.
void InstallReceiveViewAccessibility();

}  // namespace velkaro
