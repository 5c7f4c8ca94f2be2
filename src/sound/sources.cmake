list(APPEND ORVANE_CORE_SOURCES
  src/sound/MciInterface.h src/sound/OutputGain.h
)
# The audio engine: mixer, outputs, sample cache and the voice commands over it.
list(APPEND ORVANE_CORE_SOURCES
  src/sound/AudioEngine.cpp src/sound/AudioEngine.h
  src/sound/AudioOutput.h
  src/sound/CommandQueue.h
  src/sound/FrameClock.cpp src/sound/FrameClock.h
  src/sound/Mci.cpp src/sound/Mci.h
  src/sound/Mixer.cpp src/sound/Mixer.h
  src/sound/OfflineOutput.cpp src/sound/OfflineOutput.h
  src/sound/Resampler.cpp src/sound/Resampler.h
  src/sound/SampleBuffer.cpp src/sound/SampleBuffer.h
  src/sound/SampleCache.cpp src/sound/SampleCache.h
  src/sound/SdlOutput.cpp src/sound/SdlOutput.h
)
list(APPEND ORVANE_UI_SOURCES
)
# Voice player, workers, volume and keys.
list(APPEND ORVANE_CORE_SOURCES
  src/sound/VirtualKey.cpp src/sound/VirtualKey.h
  src/sound/VoicePlayer.cpp src/sound/VoicePlayer.h
  src/sound/VoiceWorkers.cpp src/sound/VoiceWorkers.h
  src/sound/VolumeControl.cpp src/sound/VolumeControl.h
)
# The strip of bell pictures and the preview.
list(APPEND ORVANE_UI_SOURCES
  src/sound/StripController.cpp src/sound/StripController.h
)
list(APPEND ORVANE_UI_SOURCES src/sound/VoiceController.cpp src/sound/VoiceController.h)
list(APPEND ORVANE_UI_SOURCES src/sound/VolumeController.cpp src/sound/VolumeController.h)
list(APPEND ORVANE_UI_SOURCES src/sound/KeyHook.cpp src/sound/KeyHook.h)
