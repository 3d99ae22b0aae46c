#pragma once

#include "catalog/TMovieList.h"
#include "render/TBitmap.h"
#include "tests/support/TTestFolder.h"
#include "tests/support/TestPictures.h"
#include "tools/SamplePictures.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Helpers shared by the render tests.

// Loads the movies into the list as if read from a catalog file (so they
// get handles the way the viewer gives them).
void LoadMovies(TMovieList& list, std::vector<TMovie>& movies);


std::span<const std::uint8_t> Bytes(const std::string& text);
