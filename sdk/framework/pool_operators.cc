// Linked into executables only: the small-block pool's replacement of the global allocation
// operators is filled in with the pool itself.
