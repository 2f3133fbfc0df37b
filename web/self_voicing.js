// Self-voicing in the browser: the engine decides what to say and when to stop
// (view/web/web_speaker.cpp); this speaks it with the browser's Web Speech, in Japanese.
'use strict';

const TsukikageVoice = (() => {
  const synthesis = globalThis.speechSynthesis;
  let voice = null;
  let told = false;

  // One line, once, when the browser cannot speak Japanese: the game plays on in silence
  // or with the browser's default voice.
  function tell(text) {
    if (told) return;
    told = true;
    console.warn(`読み上げ: ${text}`);
  }

  // The voices come late in some browsers: the choice is made again when they change.
  function chooseVoice() {
    if (!synthesis) return;
    const voices = synthesis.getVoices() || [];
    voice = voices.find((v) => /^ja([-_]|$)/i.test(v.lang) && v.localService) ||
            voices.find((v) => /^ja([-_]|$)/i.test(v.lang)) || null;
  }
  if (synthesis) {
    chooseVoice();
    if (typeof synthesis.addEventListener === 'function') {
      synthesis.addEventListener('voiceschanged', chooseVoice);
    }
  }

  return {
    // Speaks after whatever is being said.
    say(text) {
      if (!synthesis || typeof SpeechSynthesisUtterance === 'undefined') {
        tell('このブラウザーは読み上げができません');
        return;
      }
      if (!voice) chooseVoice();
      if (!voice) tell('日本語の声が見つかりません。ブラウザーの既定の声で読み上げます');
      const utterance = new SpeechSynthesisUtterance(text);
      utterance.lang = 'ja-JP';
      if (voice) utterance.voice = voice;
      synthesis.speak(utterance);
    },
    // Silences what is being said and drops what waits.
    stop() {
      if (synthesis) synthesis.cancel();
    },
  };
})();
