#pragma once

// Word 6.0 and Word 95 documents are built beside the Word 97 ones.
#include "support/WordDocumentBuilder.h"
