package greeter.text;

import java.io.IOException;
import java.io.InputStream;
import java.util.Properties;

/** The library jar: how a greeting reads, and where its words come from. */
public final class Salutation {
  private Salutation() {}

  /** The greeting of greeter.properties when the class path holds it, otherwise "Hello". */
  public static String fromClassPath() {
    Properties properties = new Properties();
    try (InputStream in = Salutation.class.getClassLoader().getResourceAsStream("greeter.properties")) {
      if (in != null) properties.load(in);
    } catch (IOException e) {
      // an unreadable file counts as none
    }
    return properties.getProperty("greeting", "Hello");
  }

  public static String greet(String greeting, String name) {
    return greeting + ", " + name + "!";
  }
}
