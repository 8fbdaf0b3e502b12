// A header beside walks_around.cpp.
#pragma once
