// node_environment.js: the unit tests under node see the variables of node's environment that
// the desktop's tests read; an Emscripten program's own environment starts without them.
Module.preRun = Module.preRun || [];
Module.preRun.push(() => {
  for (const name of ['DROVANA_NO_AVX2'])
    if (process.env[name] !== undefined)
      ENV[name] = process.env[name];
});
