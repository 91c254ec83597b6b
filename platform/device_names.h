// How the program's port names map to Linux device nodes.
//
// Serial ports, "COM<n>":
//   COM1   - COM32   ->  <dev>/ttyS0    - ttyS31     (on-board UARTs)
//   COM33  - COM64   ->  <dev>/ttyUSB0  - ttyUSB31   (USB serial adapters)
//   COM65  - COM96   ->  <dev>/ttyACM0  - ttyACM31   (USB CDC-ACM devices)
//   COM97  - COM128  ->  <dev>/ttyAMA0  - ttyAMA31   (ARM PrimeCell UARTs)
//   COM129 - COM160  ->  <dev>/rfcomm0  - rfcomm31   (Bluetooth serial)
// Parallel ports, "LPT<n>":
//   LPT1   - LPT10   ->  <dev>/lp0      - lp9
// Any other number names no device: its path is empty and opening it fails.
// <dev> is "/dev" in the program; tests point it at a folder of their own.
#pragma once

#include <string>

namespace velkaro {

inline const char kDefaultDeviceFolder[] = "/dev";

std::string SerialDevicePath(int portNumber,
                             const std::string& deviceFolder = kDefaultDeviceFolder);
std::string ParallelDevicePath(int portNumber,
                               const std::string& deviceFolder = kDefaultDeviceFolder);

// The decimal value of the leading digits after optional blanks and sign, as atoi reads it
// (no digits gives 0), without atoi's undefined behaviour on overflow.
int LeadingNumber(const std::string& text);

// `text` with every occurrence of `prefix` removed, read as LeadingNumber ("COM12" -> 12).
int PortNumberFromName(const std::string& text, const std::string& prefix);

}  // namespace velkaro
