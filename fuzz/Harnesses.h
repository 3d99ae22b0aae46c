#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The fuzzing harnesses: each takes arbitrary bytes, runs one reader of the
// viewer on them and checks what must hold for every input. A broken
// promise ends the process (so the fuzzer keeps the input); the normal
// tests replay every input that ever did.

// Catalog bytes: read, grouped into the side bar, the first movie's page.
void FuzzCatalog(const std::uint8_t* data, std::size_t size);
// One picture: the first byte picks the extension, the next two the box.
void FuzzPicture(const std::uint8_t* data, std::size_t size);
// An ini file: read back unchanged to the byte, as settings, as a language
// and as colour schemes with their page frame.
void FuzzIni(const std::uint8_t* data, std::size_t size);
// A request URL (UTF-8) against a small catalog and a program folder with
// links leading out of it: nothing from outside and never "Config.ini".
void FuzzRequest(const std::uint8_t* data, std::size_t size);
// A value and a pattern (split at the first zero byte) for the wildcard
// match, and the pattern as a search of a small catalog.
void FuzzSearch(const std::uint8_t* data, std::size_t size);

// The harness of a target by its name ("catalog", "picture", ...), or
// nullptr.
using THarness = void (*)(const std::uint8_t*, std::size_t);
THarness HarnessByName(const std::string& name);
