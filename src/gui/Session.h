#pragma once
// The session lives in the core; the windows name it unqualified.
#include "shell/session.h"

using tavrin::Session;
