// What each Rs232Error means to the operator and what to do about it, in one sentence.
#pragma once

// Never nullptr; an unknown code gets a general sentence.
const char* ComErrorExplanation(int code);
