// The only exceptions of the editor: what the file reader and writer throw, and document loading
// and saving catch. They carry nothing; the catcher looks at the file to tell the user why.
#pragma once

// The file cannot be opened (missing, not readable, too large, not a regular file) or the output
// cannot be made.
struct CError_FileOpen {};
// A read failed, or memory for the text ran out.
struct CError_FileRead {};
// Writing or putting the new file in place failed.
struct CError_FileWrite {};
