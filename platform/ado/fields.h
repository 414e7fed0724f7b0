#pragma once
#include "platform/ado/field.h"
