#pragma once

#include <cstdint>
#include <string>

// IPv4 addresses as 32-bit values in network byte order.

// Dotted text to address; false when the text is not a dotted IPv4 address.
bool ParseIPv4(const char* text, uint32_t& address);
std::string IPv4ToText(uint32_t address);
uint32_t MakeIPv4(uint8_t a, uint8_t b, uint8_t c, uint8_t d);

// First IPv4 address the host name resolves to; 0 when there is none.
uint32_t GetOwnIPv4();
