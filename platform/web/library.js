// Runtime functions that SDL's browser code calls by name from its inline
// JavaScript; the linker keeps only what is asked for, so the page's glue
// asks for them here (host::start calls tumbo_keep_sdl_runtime once).
mergeInto(LibraryManager.library, {
  tumbo_keep_sdl_runtime__deps: ['$autoResumeAudioContext', '$dynCall'],
  tumbo_keep_sdl_runtime: function() {},
});
