// Loaded into the audio worklet after libfluidsynth.js: FluidSynth's messages (among them
// errors from stubs of its WebAssembly build that are no faults) stay out of the console.
'use strict';

(() => {
  const wasm = AudioWorkletGlobalScope.wasmModule;
  const quiet = () => {
    for (let level = 1; level < 5; ++level) wasm._fluid_set_log_function(level, 0, 0);
  };
  if (wasm.calledRun) quiet();
  else AudioWorkletGlobalScope.addOnPostRun(quiet);
})();
