#pragma once

#include "runtime/Exception.h"

// A rejected legend setting; the setting keeps its old value.
class LegendException : public Exception
{
public:
    using Exception::Exception;
};
